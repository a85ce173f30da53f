#pragma once

// The UNO names that the host's files and the code running beside it in the office use unqualified:
// `using namespace word::uno::names;` inside one's own namespace.

#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <rtl/ustring.hxx>

namespace css = ::com::sun::star;

namespace word::uno::names
{

using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

} // namespace word::uno::names
