#include "hostkind.h"

namespace form
{

namespace
{

std::shared_ptr<word::Application> quietly(const std::function<std::shared_ptr<word::Application>()> &obtain,
                                           std::exception_ptr *failure = nullptr)
{
    if (!obtain) {
        return nullptr;
    }
    try {
        return obtain();
    } catch (...) {
        // A host that cannot be reached or started is no error here: the caller tries the next way.
        if (failure) {
            *failure = std::current_exception();
        }
        return nullptr;
    }
}

} // namespace

std::shared_ptr<word::Application> obtainHost(const HostKind &kind, std::exception_ptr *startFailure)
{
    if (auto host = quietly(kind.attach)) {
        return host;
    }
    return quietly(kind.start, startFailure);
}

} // namespace form
