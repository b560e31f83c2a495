#pragma once

#include <QString>

#include <array>

/// One recent-file slot of the database window: the file's full path and the name its menu
/// entry shows; both empty for an unused slot.
struct RecentFileSlot {
    QString path;
    QString name;
    friend bool operator==(const RecentFileSlot&, const RecentFileSlot&) = default;
};

/// The settings every window reads and writes, one text value each, with their defaults.
/// Owned by the application; stored by SettingsFile except lblEXCELSTATUS.
struct SettingsRecord {
    QString frmItemsWindowState = QStringLiteral("0");
    QString frmItemsHeight = QStringLiteral("5745");
    QString frmItemsWidth = QStringLiteral("3645");
    QString frmItemsLeft = QStringLiteral("1275");
    QString frmItemsTop = QStringLiteral("1380");
    QString frmItemstoolbarchecked = QStringLiteral("True");
    QString frmItemstextbarchecked = QStringLiteral("True");
    std::array<RecentFileSlot, 3> frmItemsfile; // slots 1..3 at [0..2]
    QString frmFileSearchWindowState = QStringLiteral("0");
    QString frmFileSearchHeight = QStringLiteral("6210");
    QString frmFileSearchWidth = QStringLiteral("4800");
    QString frmFileSearchLeft = QStringLiteral("1275");
    QString frmFileSearchTop = QStringLiteral("1380");
    QString frmFileSearchtoolbarchecked = QStringLiteral("True");
    QString frmFileSearchtextbarchecked = QStringLiteral("True");
    QString CURRENTPASSWORD;
    QString DatabasePassword = QStringLiteral("Enabled");
    /// Never stored: "RADI" when the spreadsheet program could be started, else "NERADI".
    QString lblEXCELSTATUS = QStringLiteral("NERADI");

    bool databasePasswordEnabled() const { return DatabasePassword == u"Enabled"; }
    friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};
