#pragma once

// One headless LibreOffice per test program: a private profile and a private pipe, ended by its
// process group id when the program ends, also when it fails or is killed.

#include "word/replacetext.h"
#include "word/uno/unohost.h"

#include <string>
#include <vector>

namespace unotest
{

/// The office of this test program, started on first use.
word::uno::Host &office();
/// The options the office was started with (its pipe, its profile).
const word::uno::Options &officeOptions();
/// The process group id of the office.
int officeProcessGroup();
/// Kill the office now (fault tests).
void killOffice();
/// A fresh folder for files of one test, removed with the office.
std::string scratchDir();

/// Runs in the notation of the built-in host's tests: {attrs|text}, attrs "b", "i", "u", "uN",
/// "#RRGGBB"; "\n" a paragraph mark, "\v" a line break.
std::vector<word::uno::TextRun> runsFromNotation(const std::string &notation);
/// The same notation for runs; the formatting of paragraph marks is not written.
std::string notationOf(const std::vector<word::uno::TextRun> &runs);

} // namespace unotest

namespace unotest
{

/// The transposition pass (music::ReplaceChords) for letter chords: 17 note names to tone markers, then
/// 12 markers to names (letters with sharps or flats, or Nashville degrees). A confirmation, which only a
/// font with no chord font parameter asks for, is answered Yes.
void transposePass(word::Application &app, const word::ChordFont &font, int delta, bool sharps, bool nashvilleOut);
/// The chord marking's passes: chords::FindChord for each catalogue pattern with font as given (lColor
/// taken as it is), then one ScreenRefresh; no document or parameter check.
void markChords(word::Application &app, const word::ChordFont &font);

} // namespace unotest
