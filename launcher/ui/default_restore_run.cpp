// Messages of the default restore.
#include "default_restore_run.h"

#include <QString>

#include <cstdio>

#include "default_restore.h"
#include "error_dlg.h"
#include "fatal_exit.h"
#include "message_dlg.h"
#include "warning_dlg.h"

void runDefaultRestoreWithMessages(const std::string& dataDirectory, QWidget* parent) {
    if (!askWarning("\n\nAre you sure?\n\nExisting configuration files will be overwritten.", parent))
        return;
    const RestoreResult result = restoreDefaultConfiguration(dataDirectory);
    switch (result.status) {
        case RestoreResult::Status::Restored:
            showMessage("\n\nThe default configuration has been successfully restored.", parent);
            return;
        case RestoreResult::Status::CopyFailed:
            std::fprintf(stderr, "celestrix: the restore stopped at %s: %s\n", result.failedName.c_str(),
                         result.reason.c_str());
            showError(QString::fromStdString("\n\nError while copying " + result.failedName +
                                             ": Unable to restore the default configuration.\n"
                                             "Please contact support."),
                      parent);
            return;
        case RestoreResult::Status::DefaultConfigurationUnreadable:
            exitCouldNotProcess(result.path);
    }
}
