#include "platform/win/dialogs/FilePrompt.h"

#include "platform/core/DevicePath.h"
#include "platform/core/StdIds.h"
#include "platform/win/frame/ModalRunQt.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/shell/DocTemplate.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

BOOL AfxPromptForFileName(CString& rPathName, BOOL bOpen, const CDocTemplate* pTemplate) {
    // The documents live in the device's personal folder; start there when it exists.
    const QString folder =
        QString::fromStdString(AfxHostPathFromDevicePath(u"\\My Documents\\Personal"));
    const auto text = [](UINT nID) {
        CString s;
        s.LoadString(nID);
        return AfxToQString(s);
    };
    QFileDialog dialog(AfxGetDeviceWidget(), text(bOpen ? AFX_IDS_OPENFILE : AFX_IDS_SAVEFILE),
                       QDir(folder).exists() ? folder : QDir::homePath());
    // Our own dialog, not the desktop's, so that it looks the same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The template names its documents' filter and extension, as "Files (*.ext)" and ".ext".
    CString filterName, filterExt;
    if (pTemplate) {
        pTemplate->GetDocString(filterName, CDocTemplate::filterName);
        pTemplate->GetDocString(filterExt, CDocTemplate::filterExt);
    }
    const QString ext = AfxToQString(filterExt);
    QStringList filters;
    if (!filterName.IsEmpty())
        filters << AfxToQString(filterName);
    if (bOpen) {
        // The backup opens like any document; a damaged copy does not read whole, so it is not
        // offered.
        if (!ext.isEmpty()) {
            CString backups;
            backups.Format(AFX_IDS_BACKUPFILTER, LPCTSTR(filterExt));
            filters << AfxToQString(backups);
        }
        filters << text(AFX_IDS_ALLFILTER);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // Saves keep daily copies in "<file>.history" beside the file a link leads to; those
        // folders are put at hand.
        QList<QUrl> places = dialog.sidebarUrls();
        for (const QFileInfo& file : QDir(folder).entryInfoList({QLatin1Char('*') + ext})) {
            const QString history = file.canonicalFilePath() + QStringLiteral(".history");
            if (!ext.isEmpty() && !file.canonicalFilePath().isEmpty() && QFileInfo(history).isDir())
                places << QUrl::fromLocalFile(history);
        }
        dialog.setSidebarUrls(places);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        if (ext.size() > 1)
            dialog.setDefaultSuffix(ext.mid(1));
    }
    dialog.setNameFilters(filters);
    int result = QDialog::Rejected;
    {
        const CModalRunScope run(&dialog);
        result = dialog.exec();
    }
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return FALSE;
    rPathName = AfxFromQString(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
    return TRUE;
}
