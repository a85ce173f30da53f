// The module's entry point: the LibreOffice Writer host behind the table of plugin.h.

#include "word/uno/plugin.h"

#include "tonvale/version.h"
#include "word/uno/unohost.h"

namespace
{

std::string findOffice()
{
    return word::uno::findSoffice();
}

std::shared_ptr<word::Application> attachOffice()
{
    return word::uno::attach();
}

std::shared_ptr<word::Application> startOffice()
{
    return word::uno::start();
}

} // namespace

extern "C" __attribute__((visibility("default"))) const word::uno::PluginInterface *tonvale_libreoffice_host()
{
    static const word::uno::PluginInterface table{word::uno::pluginInterfaceVersion,
                                                  tonvale::versionString,
                                                  &findOffice,
                                                  &attachOffice,
                                                  &startOffice};
    return &table;
}
