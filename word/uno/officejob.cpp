// The part of the LibreOffice host that runs inside the office's own process: whether paragraphs
// give the chord font's values that runs override (paragraphformat.cpp), and the once-per-command
// move of those values onto the runs (paragraphruns.cpp). Over the pipe the one costs dozens of
// round trips and the other a few a paragraph; here they take microseconds. The office
// loads this library when the host asks it to (officehelper.cpp) and keeps it for the rest of its
// run. Only the entry point is exported.

#include "officejob.h"
#include "hostimpl.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <cppuhelper/factory.hxx>
#include <cppuhelper/implbase2.hxx>
#include <cppuhelper/implementationentry.hxx>
#include <cppuhelper/supportsservice.hxx>

#include <exception>

namespace word::uno
{

namespace
{

Sequence<OUString> SAL_CALL jobServices()
{
    const OUString service = ou("com.sun.star.task.Job");
    return Sequence<OUString>(&service, 1);
}

class ParagraphRunsJob : public cppu::WeakImplHelper2<css::task::XJob, css::lang::XServiceInfo>
{
public:
    explicit ParagraphRunsJob(Reference<css::uno::XComponentContext> context)
        : context_(std::move(context))
    {
    }

    Any SAL_CALL execute(const Sequence<css::beans::NamedValue> &arguments) override
    {
        Reference<css::text::XTextDocument> doc;
        Sequence<css::beans::PropertyValue> criteria;
        bool move = false;
        for (const auto &argument : arguments) {
            if (argument.Name.equalsAscii(officejob::document)) {
                argument.Value >>= doc;
            } else if (argument.Name.equalsAscii(officejob::criteria)) {
                argument.Value >>= criteria;
            } else if (argument.Name.equalsAscii(officejob::move)) {
                argument.Value >>= move;
            }
        }
        if (!doc.is() || !criteria.hasElements()) {
            throw css::lang::IllegalArgumentException(ou("A text document and the criteria are needed."), *this, 0);
        }
        // A host inside the office, on this document only: it does the work itself.
        Host::Impl impl;
        impl.remote = context_;
        impl.pinned = doc;
        try {
            const PropertyValues searched(criteria.begin(), criteria.end());
            const bool mayBeMissed = paragraphValuesMayBeMissed(doc, searched);
            if (mayBeMissed && move) {
                impl.moveParagraphCriteriaToRuns(doc, searched);
            }
            return Any(mayBeMissed);
        } catch (const AutomationError &error) {
            throw css::uno::RuntimeException(OUString::fromUtf8(error.what()), *this);
        } catch (const std::exception &error) {
            // Nothing but the office's own exceptions may leave a call into the office.
            throw css::uno::RuntimeException(OUString::fromUtf8(error.what()), *this);
        }
    }

    OUString SAL_CALL getImplementationName() override
    {
        return ou(officejob::implementation);
    }
    sal_Bool SAL_CALL supportsService(const OUString &name) override
    {
        return cppu::supportsService(this, name);
    }
    Sequence<OUString> SAL_CALL getSupportedServiceNames() override
    {
        return jobServices();
    }

private:
    Reference<css::uno::XComponentContext> context_;
};

Reference<css::uno::XInterface> SAL_CALL createJob(const Reference<css::uno::XComponentContext> &context)
{
    return static_cast<cppu::OWeakObject *>(new ParagraphRunsJob(context));
}

OUString SAL_CALL jobName()
{
    return ou(officejob::implementation);
}

const cppu::ImplementationEntry entries[] = {
    {createJob, jobName, jobServices, cppu::createSingleComponentFactory, nullptr, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0},
};

} // namespace

} // namespace word::uno

extern "C" SAL_DLLPUBLIC_EXPORT void *SAL_CALL component_getFactory(const char *implementation,
                                                                    void *serviceManager,
                                                                    void *registryKey)
{
    return cppu::component_getFactoryHelper(implementation, serviceManager, registryKey, word::uno::entries);
}
