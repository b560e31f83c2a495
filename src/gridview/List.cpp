#include "gridview/List.h"

#include "gridview/ColorBlend.h"
#include "gridview/GridColours.h"
#include "gridview/GridFont.h"
#include "gridview/GridGeometry.h"
#include "gridview/ListHost.h"
#include "gridview/PanelColour.h"
#include "gridview/RetainedSurface.h"
#include "gridview/cmdButton.h"
#include "gridview/lblTxt.h"
#include "platform/WindowsColor.h"
#include "qelfile/DatabaseFile.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

using namespace GridGeometry;

List::List(QWidget* parent) : QWidget(parent), m_file(std::make_unique<DatabaseFile>(m_table)) {
    setObjectName(QStringLiteral("List"));
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Rows stay RowPixels pixels whatever the font's own metrics.
    m_cellFont = GridFont::cells();
    setFont(m_cellFont);
    // The font and background are given before the children exist, so that they are not
    // handed down to every child again; startUp() finds them already set.
    fillColours();
    setPanelColour(this, GridColours::ControlBackground);
    buildSurfaces();
    startUp();
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                           [this](QWidget*, QWidget* now) { focusLeftGrid(now); });
}

List::~List() {
    // The children are deleted after the grid's own members; nothing they do on the way out
    // (focus moving, a last signal) may reach the grid any more.
    disconnect(m_focusWatch);
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
    m_table.setView(nullptr);
}

void List::setHost(ListHost* host) {
    m_host = host ? host : &m_neutralHost;
}

void List::TableChanged() {
    m_host->tableChanged();
}

void List::fillColours() {
    using namespace GridColours;
    const qint32 white = windowsRgb(255, 255, 255);
    const qint32 black = 0;
    BorderColor = DefaultBorder;
    SelectedColor = pvAlphaBlend(white, BorderColor, 130);
    ScrollForeColor = DefaultScrollFore;
    ScrollBackColor = pvAlphaBlend(white, ScrollForeColor, 170);
    HeaderBorderColor = pvAlphaBlend(black, ScrollForeColor, 60);
    HeaderBackColor = DefaultHeaderBack;
    SelectedRowColor = pvAlphaBlend(ControlBackground, SelectedColor, 190);
    m_controlBackground = colorFromWindows(ControlBackground);
    m_numberColour = colorFromWindows(pvAlphaBlend(NumberTextBase, windowsRgb(170, 193, 227), 180));
}

void List::startUp() {
    using namespace GridColours;
    m_s.Cnt->setBackground(colorFromWindows(SelectedColor));

    m_s.picTop->setGeometry(0, 0, width(), HeaderHeight);
    m_s.PicScrV->resize(ScrollSize, m_s.PicScrV->height());
    m_s.PicScrH->resize(m_s.PicScrH->width(), ScrollSize);
    m_s.PicKot->resize(ScrollSize, ScrollSize);
    m_s.btnGor->move(0, 0);
    m_s.btnLevo->move(m_strip, 0);
    m_s.DrsnikV->setGeometry(0, ScrollSize, ScrollSize, MinThumb);

    m_left = m_strip;
    m_s.Cnt->setGeometry(0, 0, m_strip, 1);
    m_topOffset = 0;

    // The panels took their colours when they were made (buildSurfaces).
    m_s.shpDolLevo->setBackground(colorFromWindows(ScrollForeColor));
    m_s.picTop->setBackground(colorFromWindows(HeaderBackColor));
    m_s.picHeader->setBackground(colorFromWindows(HeaderBackColor));
    m_s.picTopL->setBackground(colorFromWindows(HeaderBackColor));
    m_s.PicTopD->setBackground(colorFromWindows(HeaderBackColor));
    m_s.picHeader->setGeometry(m_strip, 0, 1, HeaderHeight - 1);

    // The arrows start disabled: SetScrollers enables them only for content that overflows.
    for (int k = 0; k < 4; ++k) {
        setArrowEnabled(k, false);
    }

    m_table.setView(this);
    m_started = true;
    LayoutColumns();
    m_table.ClearUndoRedo();
    BuildHeader();
    FitNumberColumn();
    // A new widget gets its first size before it is shown or grabbed, and the resize draws
    // the surfaces at their real size; drawing them here too would only draw them twice.
    if (!testAttribute(Qt::WA_PendingResizeEvent)) {
        RenderColumn(-1);
        drawCornerLines();
    }
}

int List::RowHeight() const {
    return GridGeometry::RowPixels;
}

// --- forwarding to the table --------------------------------------------------------------------

QString List::GetItem(int line, int Colum) const {
    return m_table.GetItem(line, Colum);
}
void List::ChangeItem(int Row, int Column, const QString& Text) {
    // An edit still open in a cell is finished first, with its own record, so undo takes the
    // host's change and the typing back one at a time.
    endEdit();
    m_table.ChangeItem(Row, Column, Text);
}
bool List::GetItallic(int line, int Column) const {
    return m_table.GetItallic(line, Column);
}
bool List::GetUnderlined(int line, int Column) const {
    return m_table.GetUnderlined(line, Column);
}
qint32 List::GetColor(int line, int Column) const {
    return m_table.GetColor(line, Column);
}
void List::SetBold(int line, int Column, bool Vrednost) {
    m_table.SetBold(line, Column, Vrednost);
}
void List::SetItallic(int line, int Column, bool Vrednost) {
    m_table.SetItallic(line, Column, Vrednost);
}
void List::SetUnderlined(int line, int Column, bool Vrednost) {
    m_table.SetUnderlined(line, Column, Vrednost);
}
void List::SetColor(int line, int Column, qint32 Vrednost) {
    m_table.SetColor(line, Column, Vrednost);
}
QString List::GetColumnHeader(int Index) const {
    return m_table.GetColumnHeader(Index);
}
void List::SetColumnHeader(int Index, const QString& NovNaslov) {
    m_table.SetColumnHeader(Index, NovNaslov);
}
int List::GetWidthColumn(int Index) const {
    return m_table.GetWidthColumn(Index);
}
void List::LetWidthColumn(int Index, int Width) {
    m_table.LetWidthColumn(Index, Width);
}
void List::EnableEdit(int Stol) {
    m_table.EnableEdit(Stol);
    if (Stol >= 1 && Stol < m_s.editors.size()) {
        m_s.editors[Stol]->setEnabled(true);
    }
}
void List::DisableEdit(int Stol) {
    m_table.DisableEdit(Stol);
    if (Stol >= 1 && Stol < m_s.editors.size()) {
        m_s.editors[Stol]->setEnabled(false);
    }
}
void List::COLUMNUMBER() {
    m_host->setActiveColumn(QString::number(m_table.iSelectedColumn()));
}

int List::ListCount() const {
    return m_table.ListCount();
}
int List::ColumnCount() const {
    return m_table.ColumnCount();
}
int List::iSelected() const {
    return m_table.iSelected();
}
void List::setISelected(int row) {
    m_table.setISelected(row);
}
int List::iSelectedColumn() const {
    return m_table.iSelectedColumn();
}

// A shape change that moves or drops the cell being edited commits the edit first, so its
// record names the cell it was made in; an append leaves it open.

int List::AddRow(const QString& St1, int Index) {
    if (Index >= 1 && Index <= m_table.ListCount()) {
        commitEditBeforeShift(Index, 1);
    }
    return m_table.AddRow(St1, Index);
}
void List::AddMoreThanOneRow(int NumberOfRows) {
    m_table.AddMoreThanOneRow(NumberOfRows);
}
void List::RemoveItem(int Index, bool NeIzri) {
    if (Index >= 1 && Index <= m_table.ListCount()) {
        commitEditBeforeShift(Index, 1);
    }
    m_table.RemoveItem(Index, NeIzri);
}
void List::Clear() {
    commitEditBeforeShift(1, 1);
    m_table.Clear();
}
void List::ClearEntireList() {
    commitEditBeforeShift(1, 1);
    m_table.ClearEntireList();
}
int List::AddColumn(int Index, int Width, const QString& HeaderTitle) {
    if (Index >= 1 && Index <= m_table.ColumnCount()) {
        commitEditBeforeShift(1, Index);
    }
    return m_table.AddColumn(Index, Width, HeaderTitle);
}
void List::RemoveColumn(int Index) {
    if (m_table.ColumnCount() < 2) {
        commitEditBeforeShift(1, 1); // becomes Clear
    } else if (Index >= 1 && Index <= m_table.ColumnCount()) {
        commitEditBeforeShift(1, Index);
    }
    m_table.RemoveColumn(Index);
}

void List::ClearUndoRedo() {
    m_table.ClearUndoRedo();
}
// The edit in progress is the newest change: undo takes it back first, and neither may
// replay under an editor whose cell they change.
bool List::undo(int Number) {
    commitEditBeforeShift(1, 1);
    return m_table.undo(Number);
}
bool List::redo(int Number) {
    commitEditBeforeShift(1, 1);
    return m_table.redo(Number);
}

bool List::FindAndReplaceText(const QString& SrcText, const QString& NewText, bool All,
                              bool ExactMatch) {
    endEdit();
    return m_table.FindAndReplaceText(SrcText, NewText, All, ExactMatch);
}

bool List::DoNotRender() const {
    return m_doNotRender || m_table.DoNotRender();
}
void List::setDoNotRender(bool value) {
    m_doNotRender = value;
}
