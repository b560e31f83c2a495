#pragma once

#include <QVector>

class QLabel;
class QTimer;
class QWidget;
class RetainedSurface;
class cmdButton;
class lblTxt;

/// The named child objects the grid is built from, each carrying its documented objectName.
/// Element i of the per-column arrays belongs to column i; element 0 stays empty (nullptr),
/// as new columns are made directly rather than copied from a template.
struct ListSurfaces {
    RetainedSurface* picTop = nullptr;
    RetainedSurface* picHeader = nullptr;
    RetainedSurface* picTopL = nullptr;
    RetainedSurface* PicTopD = nullptr;
    QWidget* PicScrH = nullptr;
    RetainedSurface* shpDolLevo = nullptr;
    QWidget* picCnt = nullptr;
    RetainedSurface* Cnt = nullptr;
    QWidget* PicEdit = nullptr;
    QLabel* lblEdit = nullptr;
    QWidget* PicScrV = nullptr;
    QWidget* PicKot = nullptr;
    cmdButton* btnGor = nullptr;
    cmdButton* btnDol = nullptr;
    cmdButton* btnLevo = nullptr;
    cmdButton* btnDesno = nullptr;
    cmdButton* DrsnikV = nullptr;
    cmdButton* DrsnikH = nullptr;
    QLabel* lejbelnadonjojskali = nullptr;
    QWidget* picOzadje = nullptr;
    QWidget* StolpecHide = nullptr;
    QWidget* PicSpl = nullptr;
    QTimer* tmrScroll = nullptr;
    QVector<RetainedSurface*> Stolpec;
    QVector<QLabel*> lblHeader;
    QVector<lblTxt*> editors;

    /// The arrow buttons by icon index: 0 up, 1 down, 2 left, 3 right. Each draws its icon
    /// (BtnImg) at ArrowIcons::PictureAt, one pixel right and down while held.
    cmdButton* arrow(int k) const;
};
