// CListCtrlDelegate: draws one cell of the list control: the state picture untinted at the
// left of column 0, the text, and the selection as the list control shows it.
#pragma once

#include "platform/win/listctrl/ListCtrlModel.h"

#include <QStyledItemDelegate>

class CListCtrlDelegate : public QStyledItemDelegate {
public:
    explicit CListCtrlDelegate(const CListCtrlModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Shows the whole text of a cell that is cut off (or holds line breaks) as a tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Left margin of the state picture within column 0.
    static constexpr int kPictureMargin = 2;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // Room the style leaves on each side of a cell's text.
    static constexpr int kTextMargin = 4;
    void PaintCell(QPainter* painter, QStyleOptionViewItem& opt, const QModelIndex& index) const;

    const CListCtrlModel& m_model;
};
