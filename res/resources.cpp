#include "res/resources.h"

#include "res/res_parts.h"

namespace tav {

namespace {

fw::ResourceSet Assemble() {
    fw::ResourceSet set;
    set.strings = resparts::StringTable();
    for (auto* part :
         {&resparts::ShellDialogs, &resparts::RemapDialogs, &resparts::SysDefDialogs}) {
        for (fw::DialogTemplate& dialog : part()) {
            set.dialogs.push_back(std::move(dialog));
        }
    }
    set.menus.push_back(resparts::MainMenu());
    set.icons.push_back(resparts::BakedProgramIcon());
    return set;
}

}  // namespace

const fw::ResourceSet& TavResources() {
    static const fw::ResourceSet resources = Assemble();
    return resources;
}

fw::IconResource ProgramIconOfSize(int size) {
    return resparts::ProgramIcon(size);
}

}  // namespace tav
