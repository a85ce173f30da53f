#include "unoplugin.h"

#include "tonvale/version.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace app
{

const word::uno::PluginInterface *loadUnoPlugin(const std::string &path, std::string *error)
{
    // RTLD_LOCAL: the module's own copies of the host libraries never stand in for the program's.
    void *module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char *reason = dlerror();
        *error = reason ? reason : "cannot load " + path;
        return nullptr;
    }
    using Entry = const word::uno::PluginInterface *(*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(module, word::uno::pluginEntryName));
    const word::uno::PluginInterface *table = entry ? entry() : nullptr;
    if (!table) {
        *error = path + " is not Tonvale's LibreOffice host";
    } else if (table->interfaceVersion != word::uno::pluginInterfaceVersion || !table->programVersion
               || std::strcmp(table->programVersion, tonvale::versionString) != 0) {
        *error = path + " belongs to another version of Tonvale";
        table = nullptr;
    } else if (!table->findSoffice || !table->attach || !table->start) {
        *error = path + " is incomplete";
        table = nullptr;
    }
    if (!table) {
        dlclose(module);
    }
    // A loaded module stays loaded: the hosts it makes run its code until the program ends.
    return table;
}

const word::uno::PluginInterface *installedUnoPlugin()
{
    static const word::uno::PluginInterface *const plugin = [] {
        std::error_code ignored;
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
        const std::filesystem::path places[] = {
            self.empty() ? std::filesystem::path() : self.parent_path() / TONVALE_UNO_PLUGIN_NAME,
            std::filesystem::path(TONVALE_UNO_PLUGIN_DIR) / TONVALE_UNO_PLUGIN_NAME,
        };
        for (const std::filesystem::path &place : places) {
            std::string error;
            if (!place.empty() && std::filesystem::exists(place, ignored)) {
                if (const auto *table = loadUnoPlugin(place.string(), &error)) {
                    return table;
                }
                // Installed but unusable: say why, then go on with the built-in word processor.
                std::cerr << "tonvale: the LibreOffice host is not available: " << error << '\n';
            }
        }
        return static_cast<const word::uno::PluginInterface *>(nullptr);
    }();
    return plugin;
}

} // namespace app
