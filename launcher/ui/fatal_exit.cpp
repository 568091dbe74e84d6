// Fatal file failures of the launcher.
#include "fatal_exit.h"

#include <cstdio>
#include <cstdlib>

#include "error_dlg.h"
#include "file_reason.h"
#include "selection_line.h"

namespace {

std::function<void(int)>& exitFunction() {
    static std::function<void(int)> function = [](int code) {
        std::fflush(nullptr);
        std::exit(code);
    };
    return function;
}

}  // namespace

void setLauncherExitFunction(std::function<void(int)> function) {
    exitFunction() = std::move(function);
}

void exitWithError(const QString& text) {
    std::fprintf(stderr, "celestrix: %s\n", text.trimmed().toLocal8Bit().constData());
    showError(text);
    exitFunction()(kLauncherFatalExitCode);
    std::abort();  // an exit function that returned would let the caller go on with bad data
}

void exitCouldNotOpen(const std::string& path) {
    exitWithError(QString::fromStdString("\n\nCould not open file " + path));
}

void exitCouldNotProcess(const std::string& path, const std::string& reason) {
    // The fixed text first, then why on a line of its own.
    exitWithError(QString::fromStdString("\n\nCould not process file " + path + "\n" +
                                         (reason.empty() ? reasonForFailedFile(path) : reason)));
}

std::string readItemOrExit(const std::string& objectPath, std::string_view label,
                           const std::string& dataDirectory) {
    ItemRead r = readObjectItem(objectPath, label, dataDirectory);
    if (r.status == ItemStatus::CannotOpen) exitCouldNotOpen(objectPath);
    return r.status == ItemStatus::Ok ? r.value : std::string("na");
}

ObjectFacts readFactsOrExit(const std::string& objectPath, const std::string& dataDirectory) {
    ObjectFacts facts = readObjectFacts(objectPath, dataDirectory);
    if (!facts.readable) exitCouldNotOpen(objectPath);
    return facts;
}

std::string readSelectionOrExit(const std::string& path) {
    std::optional<std::string> line = readSelectionLine(path);
    if (!line) exitCouldNotOpen(path);
    return *line;
}
