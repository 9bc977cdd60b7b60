#include "platform/win/dialogs/FilePrompt.h"

#include "platform/core/DevicePath.h"
#include "platform/win/frame/ModalRunQt.h"
#include "platform/win/frame/WndQt.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

BOOL AfxPromptForListFile(BOOL bOpen, CString& rPathName) {
    // The list lives in the device's personal folder; start there when it exists.
    const QString folder =
        QString::fromStdString(AfxHostPathFromDevicePath(u"\\My Documents\\Personal"));
    QFileDialog dialog(AfxGetDeviceWidget(),
                       bOpen ? QStringLiteral("Open") : QStringLiteral("Save As"),
                       QDir(folder).exists() ? folder : QDir::homePath());
    // Our own dialog, not the desktop's, so that it looks the same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters{QStringLiteral("VestoryList Files (*.vsl)")};
    if (bOpen) {
        // The backup opens like any list; a damaged copy does not read whole, so it is not
        // offered (vsl dump reads what it can of one).
        filters << QStringLiteral("Backup Lists (*.vsl.bak)") << QStringLiteral("All Files (*)");
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // Saves keep daily copies in "<list>.history" beside the file a list's link leads
        // to; those folders are put at hand.
        QList<QUrl> places = dialog.sidebarUrls();
        for (const QFileInfo& list : QDir(folder).entryInfoList({QStringLiteral("*.vsl")})) {
            const QString history = list.canonicalFilePath() + QStringLiteral(".history");
            if (!list.canonicalFilePath().isEmpty() && QFileInfo(history).isDir())
                places << QUrl::fromLocalFile(history);
        }
        dialog.setSidebarUrls(places);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("vsl"));
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
