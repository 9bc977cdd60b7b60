#include "platform/win/listctrl/ListCtrlAdapterQt.h"

#include "platform/win/listctrl/ImageListQt.h"

#include <QPixmap>

namespace {

const QString kLineBreakMark = QStringLiteral("\u21B5");

QString ToQString(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

Qt::Alignment Alignment(int fmt) {
    switch (fmt & 0x3) {
    case LVCFMT_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

CListCtrlAdapter::CListCtrlAdapter(const CListCtrlModel& model, QObject* parent)
    : QAbstractTableModel(parent), m_model(model), m_nRows(model.GetItemCount()),
      m_nColumns(model.GetColumnCount()) {}

int CListCtrlAdapter::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nRows;
}

int CListCtrlAdapter::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nColumns;
}

QVariant CListCtrlAdapter::data(const QModelIndex& index, int role) const {
    const int iRow = index.row();
    const int iCol = index.column();
    // The view may ask between a change of the list and the next Sync.
    if (!index.isValid() || iRow >= m_model.GetItemCount() || iCol >= m_model.GetColumnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        // One line a row: a line break shows as a mark of its own.
        QString text = ToQString(m_model.GetCellText(iRow, iCol));
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
            text.replace(QStringLiteral("\r\n"), kLineBreakMark);
            text.replace(QLatin1Char('\n'), kLineBreakMark);
            text.replace(QLatin1Char('\r'), kLineBreakMark);
        }
        return text;
    }
    case Qt::ToolTipRole:
        return ToQString(m_model.GetCellText(iRow, iCol));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Alignment(m_model.GetColumn(iCol).fmt));
    case Qt::DecorationRole:
        if (iCol == 0) {
            const QPixmap* pPicture = AfxGetImageListPicture(m_model.GetStateImageList(),
                                                             m_model.GetStateImage(iRow) - 1);
            if (pPicture)
                return *pPicture;
        }
        return {};
    case Qt::CheckStateRole:
        // State pictures 1 and 2 are the unticked and ticked boxes, as for check-box lists.
        if (iCol == 0 && m_model.GetStateImage(iRow) == 1)
            return Qt::Unchecked;
        if (iCol == 0 && m_model.GetStateImage(iRow) == 2)
            return Qt::Checked;
        return {};
    case SelectedRole:
        return (m_model.GetRow(iRow).state & LVIS_SELECTED) != 0 &&
               (iCol == 0 || (m_model.GetExtendedStyle() & LVS_EX_FULLROWSELECT) != 0);
    default:
        return {};
    }
}

QVariant CListCtrlAdapter::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_model.GetColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(m_model.GetColumn(section).strTitle);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alignment(m_model.GetColumn(section).fmt));
    return {};
}

Qt::ItemFlags CListCtrlAdapter::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && data(index, Qt::CheckStateRole).isValid())
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void CListCtrlAdapter::Sync() {
    if (m_nRows != m_model.GetItemCount() || m_nColumns != m_model.GetColumnCount()) {
        beginResetModel();
        m_nRows = m_model.GetItemCount();
        m_nColumns = m_model.GetColumnCount();
        endResetModel();
        return;
    }
    if (m_nRows > 0 && m_nColumns > 0)
        emit dataChanged(index(0, 0), index(m_nRows - 1, m_nColumns - 1));
    if (m_nColumns > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_nColumns - 1);
}
