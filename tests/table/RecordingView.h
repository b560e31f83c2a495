#pragma once

#include "table/TableView.h"

#include <QString>
#include <QStringList>

/// A TableView that writes down every request, e.g. "RenderColumn(-1)" or "SetScrollers".
class RecordingView final : public TableView {
public:
    QStringList calls;

    void RenderColumn(int Stol) override { calls << QStringLiteral("RenderColumn(%1)").arg(Stol); }
    void FitNumberColumn() override { calls << QStringLiteral("FitNumberColumn"); }
    void SetScrollers() override { calls << QStringLiteral("SetScrollers"); }
    void BuildHeader() override { calls << QStringLiteral("BuildHeader"); }
    void HideEditors() override { calls << QStringLiteral("HideEditors"); }
    void LayoutColumns() override { calls << QStringLiteral("LayoutColumns"); }
    void ClampTopOffsetAfterRemove() override {
        calls << QStringLiteral("ClampTopOffsetAfterRemove");
    }
    void ResetTopOffset() override { calls << QStringLiteral("ResetTopOffset"); }
    void ScrollFullyLeft() override { calls << QStringLiteral("ScrollFullyLeft"); }
};
