#pragma once

// UNO helpers shared by the extension's files.

#include "word/uno/names.h"
#include "word/uno/strings.h"

#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ustring.hxx>

#include <functional>
#include <string>
#include <string_view>

namespace oxt
{

using namespace word::uno::names;
using word::uno::ou;
using word::uno::utf8;

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
