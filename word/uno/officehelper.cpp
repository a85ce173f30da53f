// Reaching the host's library inside the office (officejob.cpp).
//
// The office's own shared-library loader loads it into the office's process, where it stays for the
// rest of the office's run: no extension is installed and nothing is written. Where the office
// cannot load it (an office in a sandbox, or one that does not see our files), the work is done
// over the pipe as before, only slower.

#include "hostimpl.h"
#include "officejob.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/lang/XSingleComponentFactory.hpp>
#include <com/sun/star/loader/XImplementationLoader.hpp>
#include <com/sun/star/registry/XRegistryKey.hpp>
#include <osl/file.hxx>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace word::uno
{

namespace
{

bool isFile(const std::filesystem::path &path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// The library: TONVALE_OFFICE_LIBRARY where set (set empty, none is used); else the one next to
// the program or the host's module (an installed package), else the one this build made.
std::filesystem::path officeLibrary()
{
    if (const char *chosen = std::getenv("TONVALE_OFFICE_LIBRARY")) {
        return chosen;
    }
    // The module this code is in (the host's module of a package), or the program itself (which the
    // loader may name without a folder).
    Dl_info info{};
    std::vector<std::filesystem::path> beside{"/proc/self/exe"};
    if (dladdr(reinterpret_cast<const void *>(&officeLibrary), &info) != 0 && info.dli_fname
        && std::string_view(info.dli_fname).find('/') != std::string_view::npos) {
        beside.insert(beside.begin(), info.dli_fname);
    }
    for (const auto &file : beside) {
        std::error_code error;
        const auto here = std::filesystem::canonical(file, error);
        if (!error && isFile(here.parent_path() / officejob::library)) {
            return here.parent_path() / officejob::library;
        }
    }
#ifdef TONVALE_OFFICE_LIBRARY_BUILT
    if (isFile(TONVALE_OFFICE_LIBRARY_BUILT)) {
        return TONVALE_OFFICE_LIBRARY_BUILT;
    }
#endif
    return {};
}

} // namespace

Reference<css::task::XJob> Host::Impl::officeJob()
{
    if (pinned.is()) {
        return nullptr; // inside the office, no job is needed
    }
    if (!loadedJob) {
        loadedJob = loadOfficeJob();
    }
    return *loadedJob;
}

Reference<css::task::XJob> Host::Impl::loadOfficeJob()
{
    const auto path = officeLibrary();
    if (path.empty() || !path.is_absolute() || !isFile(path)) {
        return nullptr;
    }
    OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(ou(std::string_view(path.native())), url) != osl::FileBase::E_None) {
        return nullptr;
    }
    try {
        Reference<css::loader::XImplementationLoader> loader(
            remote->getServiceManager()->createInstanceWithContext(ou("com.sun.star.loader.SharedLibrary"), remote),
            UNO_QUERY);
        const auto factory =
            loader.is() ? loader->activate(ou(officejob::implementation), OUString(), url, nullptr) : nullptr;
        Reference<css::lang::XSingleComponentFactory> jobs(factory, UNO_QUERY);
        return jobs.is() ? Reference<css::task::XJob>(jobs->createInstanceWithContext(remote), UNO_QUERY) : nullptr;
    } catch (const css::uno::Exception &) {
        return nullptr; // the office could not load it: the work goes over the pipe
    }
}

std::optional<bool>
Host::Impl::checkInOffice(const Reference<css::text::XTextDocument> &doc, const PropertyValues &criteria, bool move)
{
    const auto job = officeJob();
    if (!job.is()) {
        return std::nullopt;
    }
    const css::beans::NamedValue arguments[] = {
        css::beans::NamedValue(ou(officejob::document), Any(doc)),
        css::beans::NamedValue(ou(officejob::criteria), Any(properties(criteria))),
        css::beans::NamedValue(ou(officejob::move), Any(move)),
    };
    bool mayBeMissed = true;
    if (!(job->execute(Sequence<css::beans::NamedValue>(arguments, 3)) >>= mayBeMissed)) {
        throw AutomationError("LibreOffice Writer's part of the host gave no answer.");
    }
    return mayBeMissed;
}

bool Host::officeJobLoaded()
{
    return m_impl->guarded([&] {
        return m_impl->officeJob().is();
    });
}

} // namespace word::uno
