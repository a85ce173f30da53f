// Stand-ins for the LibreOffice host module, for the loader's tests: FAKE_PROGRAM_VERSION is the program
// version the module claims; without FAKE_ENTRY it exports no entry point at all.

#include "word/uno/plugin.h"

#include <stdexcept>

namespace
{

std::string findOffice()
{
    return "fake-soffice";
}

} // namespace

#ifdef FAKE_ENTRY
namespace
{

std::shared_ptr<word::Application> noOffice()
{
    throw std::runtime_error("no office here");
}

} // namespace

extern "C" __attribute__((visibility("default"))) const word::uno::PluginInterface *tonvale_libreoffice_host()
{
    static const word::uno::PluginInterface table{word::uno::pluginInterfaceVersion,
                                                  FAKE_PROGRAM_VERSION,
                                                  &findOffice,
                                                  &noOffice,
                                                  &noOffice};
    return &table;
}
#else
extern "C" __attribute__((visibility("default"))) int something_else()
{
    return static_cast<int>(findOffice().size());
}
#endif
