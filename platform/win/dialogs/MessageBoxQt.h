// Internal to platform/win: message boxes as real Qt message boxes.
#pragma once

// Makes AfxMessageBox show a modal QMessageBox over the main window.
void AfxInstallMessageBoxPresenter();
