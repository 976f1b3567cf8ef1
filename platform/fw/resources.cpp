#include "platform/fw/resources.h"

#include <atomic>

namespace fw {

namespace {
std::atomic<const ResourceSet*> g_resources{nullptr};
}  // namespace

const ControlTemplate* DialogTemplate::FindControl(int controlId) const {
    for (const auto& c : controls) {
        if (c.id == controlId) {
            return &c;
        }
    }
    return nullptr;
}

const std::string* ResourceSet::FindString(UINT id) const {
    for (const auto& s : strings) {
        if (s.id == id) {
            return &s.text;
        }
    }
    return nullptr;
}

const DialogTemplate* ResourceSet::FindDialog(int id) const {
    for (const auto& d : dialogs) {
        if (d.id == id) {
            return &d;
        }
    }
    return nullptr;
}

const MenuTemplate* ResourceSet::FindMenu(int id) const {
    for (const auto& m : menus) {
        if (m.id == id) {
            return &m;
        }
    }
    return nullptr;
}

const IconResource* ResourceSet::FindIcon(int id) const {
    for (const auto& i : icons) {
        if (i.id == id) {
            return &i;
        }
    }
    return nullptr;
}

void InstallResources(const ResourceSet* resources) {
    g_resources = resources;
}

const ResourceSet* InstalledResources() {
    return g_resources;
}

std::string LoadString(UINT id) {
    const ResourceSet* res = g_resources;
    if (res == nullptr) {
        return {};
    }
    const std::string* text = res->FindString(id);
    return text != nullptr ? *text : std::string();
}

std::string StripMnemonic(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace fw
