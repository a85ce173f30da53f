#include "hostkind.h"

namespace form
{

namespace
{

std::shared_ptr<word::Application> quietly(const std::function<std::shared_ptr<word::Application>()> &obtain)
{
    if (!obtain) {
        return nullptr;
    }
    try {
        return obtain();
    } catch (...) {
        // A host that cannot be reached or started is no error here: the caller tries the next way.
        return nullptr;
    }
}

} // namespace

std::shared_ptr<word::Application> obtainHost(const HostKind &kind)
{
    if (auto host = quietly(kind.attach)) {
        return host;
    }
    return quietly(kind.start);
}

} // namespace form
