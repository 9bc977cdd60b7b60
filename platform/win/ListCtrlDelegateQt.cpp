#include "platform/win/ListCtrlDelegateQt.h"

#include "platform/win/ListCtrlAdapterQt.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

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
    const int y = opt.rect.top() + (opt.rect.height() - picture.height()) / 2;
    // A column dragged narrower than the picture cuts it off.
    painter->save();
    painter->setClipRect(opt.rect);
    painter->drawPixmap(x, y, picture);
    painter->restore();
    if (!opt.text.isEmpty()) {
        opt.rect.setLeft(x + picture.width() + kPictureMargin);
        pStyle->drawControl(QStyle::CE_ItemViewItem, &opt, painter, pWidget);
    }
}
