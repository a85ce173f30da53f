#pragma once

// The stand-in Word automation server that the Word host's tests talk to: its class and the
// names it is registered under in the test prefix.

#include <guiddef.h>

namespace fakeword
{

/// The stand-in's class (its own, not Word's), registered as "Word.Application".
inline constexpr GUID classId = {0x6d3f2a10, 0x4b7e, 0x4c21, {0x9a, 0x51, 0x2e, 0x0c, 0x7b, 0x3d, 0x91, 0x5a}};
/// The type library that describes Word's event interface, so that COM can carry it across processes.
inline constexpr GUID libraryId = {0x6d3f2a11, 0x4b7e, 0x4c21, {0x9a, 0x51, 0x2e, 0x0c, 0x7b, 0x3d, 0x91, 0x5a}};
/// A class registered with a server program that does not exist: installed, but cannot start.
inline constexpr GUID brokenClassId = {0x6d3f2a12, 0x4b7e, 0x4c21, {0x9a, 0x51, 0x2e, 0x0c, 0x7b, 0x3d, 0x91, 0x5a}};

inline constexpr const wchar_t *progId = L"Word.Application";
inline constexpr const wchar_t *brokenProgId = L"Tonvale.BrokenWord";

} // namespace fakeword
