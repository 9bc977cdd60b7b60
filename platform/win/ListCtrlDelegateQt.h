// CListCtrlDelegate: draws one cell of the list control: the state picture untinted at the
// left of column 0, the text, and the selection as the list control shows it.
#pragma once

#include "platform/win/ListCtrlModel.h"

#include <QStyledItemDelegate>

class CListCtrlDelegate : public QStyledItemDelegate {
public:
    explicit CListCtrlDelegate(const CListCtrlModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Left margin of the state picture within column 0.
    static constexpr int kPictureMargin = 2;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const CListCtrlModel& m_model;
};
