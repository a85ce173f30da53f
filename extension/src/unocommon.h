#pragma once

// UNO helpers shared by the extension's files.

#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ustring.hxx>

#include <functional>
#include <string>
#include <string_view>

namespace oxt
{

namespace css = ::com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

inline OUString ou(std::string_view utf8)
{
    return OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8);
}

inline std::string utf8(const OUString &text)
{
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

/// The names of the extension's implementations and of its sidebar deck.
inline constexpr std::string_view handlerImplementation = "org.tonvale.ProtocolHandler";
inline constexpr std::string_view panelFactoryImplementation = "org.tonvale.PanelFactory";
inline constexpr std::string_view deckId = "TonvaleDeck";
inline constexpr std::string_view extensionId = "org.tonvale.extension";

/// Whether the caller runs on the office's main thread (the thread of its windows and event loop).
bool onMainThread();

/// Runs work later on the office's main thread, from its event loop.
void postToMainThread(const Reference<css::uno::XComponentContext> &context, std::function<void()> work);

} // namespace oxt
