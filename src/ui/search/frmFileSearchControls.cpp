// The window's controls: their names, texts, places and wiring.
#include "ui/search/frmFileSearch.h"

#include "platform/Twips.h"
#include "ui/search/FileNameList.h"
#include "ui/search/FileSearchLayout.h"
#include "ui/search/SearchRunner.h"
#include "ui/search/WindowFrame.h"
#include "ui/search/WrappingLabel.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <utility>

namespace {

// The blanks of Label1 are where Files and Drives sit.
const QString kLabel1 =
    QStringLiteral("Search for                 files  in                        Drive   ");

// Where the run of blanks after `word` starts and ends in `text`, in pixels of `metrics`.
std::pair<int, int> blanksAfter(const QFontMetrics& metrics, const QString& text,
                                const QString& word) {
    const qsizetype start = text.indexOf(word) + word.size();
    qsizetype end = start;
    while (end < text.size() && text[end] == u' ') {
        ++end;
    }
    return {metrics.horizontalAdvance(text.left(start)), metrics.horizontalAdvance(text.left(end))};
}

} // namespace

void frmFileSearch::buildControls() {
    using Twips::toPixels;
    // Every measure below is laid out for a small sans serif of 11 pixels.
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    setFont(small);
    const QFontMetrics metrics(small);

    m_label1 = new QLabel(kLabel1, this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    const QPoint label1At(toPixels(120), toPixels(75));
    m_label1->setGeometry(QRect(label1At, QSize(metrics.horizontalAdvance(kLabel1), 17)));

    const auto [filesLeft, filesRight] = blanksAfter(metrics, kLabel1, QStringLiteral("for"));
    m_files = new QLabel(this);
    m_files->setObjectName(QStringLiteral("Files"));
    m_files->setAlignment(Qt::AlignCenter);
    m_files->setGeometry(label1At.x() + filesLeft, label1At.y(), filesRight - filesLeft, 17);

    const auto [drivesLeft, drivesRight] = blanksAfter(metrics, kLabel1, QStringLiteral("in"));
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("Drives"));
    m_drives->setGeometry(label1At.x() + drivesLeft, toPixels(30), drivesRight - drivesLeft,
                          toPixels(300));
    connect(m_drives, &QComboBox::currentIndexChanged, this, &frmFileSearch::stopSearch);

    // Status takes the room right of Label1's last word, on the drive row.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    const int statusLeft = label1At.x() + metrics.horizontalAdvance(kLabel1.trimmed() + u' ');
    m_status->setGeometry(statusLeft, label1At.y(), toPixels(1200), 17);

    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("FileList"));
    m_fileList->setGeometry(
        toPixels(FileSearchLayout::ListLeft, FileSearchLayout::ListTop, 4500, 4410));
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setUniformItemSizes(true);
    m_fileList->installEventFilter(this);
    connect(m_fileList, &QListWidget::itemSelectionChanged, this, &frmFileSearch::selectionChanged);
    connect(m_fileList, &QListWidget::itemDoubleClicked, this, &frmFileSearch::openSelected);

    m_fileNameList = new FileNameList(this);

    // Label2 wraps into two lines beside FileNumber and FundFileNumber: "Check File" and
    // "Matching File", or in list mode a line of blanks and "Total  Databases".
    const int rowStep = toPixels(FileSearchLayout::CounterRowStep);
    m_label2 = new WrappingLabel(rowStep, this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    const int label2Width = metrics.horizontalAdvance(QStringLiteral("Total  Databases ")) + 2;
    m_label2->setGeometry(toPixels(120), 0, label2Width, rowStep + metrics.height());

    const int countersLeft = toPixels(120) + label2Width + 4;
    m_fileNumberLabel = new QLabel(this);
    m_fileNumberLabel->setObjectName(QStringLiteral("FileNumber"));
    m_fileNumberLabel->setGeometry(countersLeft, 0, toPixels(1200), metrics.lineSpacing());
    m_fundFileNumberLabel = new QLabel(this);
    m_fundFileNumberLabel->setObjectName(QStringLiteral("FundFileNumber"));
    m_fundFileNumberLabel->setGeometry(countersLeft, 0, toPixels(1200), metrics.lineSpacing());

    m_lastFoundFile = new QLabel(this);
    m_lastFoundFile->setObjectName(QStringLiteral("LastFoundFile"));
    m_lastFoundFile->setGeometry(toPixels(120), 0, toPixels(4500), toPixels(255));

    m_find = new QPushButton(QStringLiteral("Find "), this);
    m_find->setObjectName(QStringLiteral("Find"));
    m_find->resize(toPixels(FileSearchLayout::ButtonWidth),
                   toPixels(FileSearchLayout::ButtonHeight));
    connect(m_find, &QPushButton::clicked, this, &frmFileSearch::find);
    m_stopSearch = new QPushButton(QStringLiteral("Stop"), this);
    m_stopSearch->setObjectName(QStringLiteral("StopSearch"));
    m_stopSearch->resize(m_find->size());
    connect(m_stopSearch, &QPushButton::clicked, this, &frmFileSearch::stopSearch);

    m_runner = new SearchRunner(this);
    connect(m_runner, &SearchRunner::entriesExamined, this, &frmFileSearch::entriesExamined);
    connect(m_runner, &SearchRunner::filesFound, this, &frmFileSearch::filesFound);
    connect(m_runner, &SearchRunner::statusUpdated, m_status, &QLabel::setText);
    connect(m_runner, &SearchRunner::finished, this, &frmFileSearch::searchEnded);

    WindowFrame::setFrame(*this,
                          Twips::toPixels(1275, 1380, FileSearchLayout::MinimumSearchWidth, 6210));
}
