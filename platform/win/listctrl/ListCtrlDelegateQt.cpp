#include "platform/win/listctrl/ListCtrlDelegateQt.h"

#include "platform/win/listctrl/ListCtrlAdapterQt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

namespace {

// Without LVS_SHOWSELALWAYS the selection shows only while the list has the focus. A pop-up
// menu does not take the focus from the window it was opened over, so the tapped row stays
// highlighted under the menu.
bool HasFocus(const QWidget* pList) {
    if (!pList)
        return false;
    return pList->hasFocus() ||
           (QApplication::activePopupWidget() && pList->window()->focusWidget() == pList);
}

// Where a picture drawn at twice the size stands in for a display of device pixel ratio 2, it
// takes the room of the picture it stands for.
QSize PictureSize(const QPixmap& picture) {
    return picture.deviceIndependentSize().toSize();
}

} // namespace

CListCtrlDelegate::CListCtrlDelegate(const CListCtrlModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

void CListCtrlDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // The state picture stands in for both the check indicator and the icon; paint() draws
    // it itself so that a selected row does not tint it.
    option->features &=
        ~(QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration);
    option->icon = QIcon();
    option->state &= ~QStyle::State_HasFocus;
    const bool bShown = (m_model.GetStyle() & LVS_SHOWSELALWAYS) != 0 || HasFocus(option->widget);
    if (bShown && index.data(CListCtrlAdapter::SelectedRole).toBool())
        option->state |= QStyle::State_Selected;
    else
        option->state &= ~QStyle::State_Selected;
}

void CListCtrlDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    PaintCell(painter, opt, index);
    // The row with the keyboard: a dotted frame around its texts while the list has the
    // keyboard. The state pictures stay as they are, so a box reads the same on every row.
    const int iRow = index.row();
    const int iFirst = m_model.GetColumnCount() > 1 ? 1 : 0;
    if (opt.widget && opt.widget->hasFocus() && index.column() >= iFirst &&
        iRow < m_model.GetItemCount() && (m_model.GetRow(iRow).state & LVIS_FOCUSED)) {
        painter->save();
        painter->setPen(QPen(opt.palette.color(QPalette::Text), 1, Qt::DotLine));
        const QRect r = option.rect.adjusted(0, 0, -1, -1);
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (index.column() == iFirst)
            painter->drawLine(r.topLeft(), r.bottomLeft());
        if (index.column() == m_model.GetColumnCount() - 1)
            painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }
}

bool CListCtrlDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString shown = index.data(Qt::DisplayRole).toString();
    const QString whole = index.data(Qt::ToolTipRole).toString();
    int cxRoom = option.rect.width() - 2 * kTextMargin;
    if (index.column() == 0 && !index.data(Qt::DecorationRole).value<QPixmap>().isNull())
        cxRoom -=
            PictureSize(index.data(Qt::DecorationRole).value<QPixmap>()).width() + kPictureMargin;
    if (!whole.isEmpty() &&
        (shown != whole || option.fontMetrics.horizontalAdvance(shown) > cxRoom)) {
        QToolTip::showText(event->globalPos(), whole, view, option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
}

void CListCtrlDelegate::PaintCell(QPainter* painter, QStyleOptionViewItem& opt,
                                  const QModelIndex& index) const {
    const QWidget* pWidget = opt.widget;
    QStyle* pStyle = pWidget ? pWidget->style() : QApplication::style();
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (picture.isNull()) {
        pStyle->drawControl(QStyle::CE_ItemViewItem, &opt, painter, pWidget);
        return;
    }
    QStyleOptionViewItem background = opt;
    background.text.clear();
    background.features &= ~QStyleOptionViewItem::HasDisplay;
    pStyle->drawControl(QStyle::CE_ItemViewItem, &background, painter, pWidget);
    const int x = opt.rect.left() + kPictureMargin;
    const QSize size = PictureSize(picture);
    const int y = opt.rect.top() + (opt.rect.height() - size.height()) / 2;
    // A column dragged narrower than the picture cuts it off.
    painter->save();
    painter->setClipRect(opt.rect);
    painter->drawPixmap(x, y, picture);
    painter->restore();
    if (!opt.text.isEmpty()) {
        opt.rect.setLeft(x + size.width() + kPictureMargin);
        pStyle->drawControl(QStyle::CE_ItemViewItem, &opt, painter, pWidget);
    }
}
