#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/qt/print_module.h"

namespace fwqt {

namespace {

// Where the library is: installed beside the programs (in the library folder's tavora/, found
// from the program's own folder, so the installation can move), or else where the build made it.
QStringList Candidates() {
    QStringList paths;
    const QString programDir = QCoreApplication::applicationDirPath();
    if (!programDir.isEmpty()) {
        paths << QDir(programDir).filePath(QStringLiteral("../" TAV_QT_PRINT_INSTALLED));
    }
    paths << QStringLiteral(TAV_QT_PRINT_BUILT);
    return paths;
}

struct Loaded {
    const PrintModule* module = nullptr;
    std::string error;
};

Loaded Load() {
    Loaded loaded;
    for (const QString& path : Candidates()) {
        if (!QFileInfo::exists(path)) {
            continue;
        }
        // Kept loaded for the rest of the process: printer devices may outlive any one print.
        void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = ::dlerror();
            loaded.error = why != nullptr ? why : "cannot load " + path.toStdString();
            continue;
        }
        using Entry = const PrintModule* (*)();
        auto entry = reinterpret_cast<Entry>(::dlsym(handle, kPrintModuleEntry));
        if (entry == nullptr || entry() == nullptr) {
            loaded.error = "no print entry in " + path.toStdString();
            continue;
        }
        loaded.module = entry();
        loaded.error.clear();
        return loaded;
    }
    if (loaded.error.empty()) {
        loaded.error = "libtav_qt_print.so is not installed";
    }
    return loaded;
}

}  // namespace

const PrintModule* LoadPrintModule(std::string* error) {
    static const Loaded loaded = Load();
    if (loaded.module == nullptr && error != nullptr) {
        *error = loaded.error;
    }
    return loaded.module;
}

}  // namespace fwqt
