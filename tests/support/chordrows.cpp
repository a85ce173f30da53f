#include "chordrows.h"

namespace testsupport
{

namespace
{

constexpr int32_t red = 0x0000FF; // lColor of pure red
constexpr int32_t blue = 0xFF0000;

const word::ChordFont anyText{};
const word::ChordFont styleOnly{.useStyle = true};
const word::ChordFont bold{.useStyle = true, .bold = true};
const word::ChordFont redText{.useColor = true, .lColor = red};
const word::ChordFont blueText{.useColor = true, .lColor = blue};
const word::ChordFont italic{.useStyle = true, .italic = true};
const word::ChordFont underlined{.useStyle = true, .underline = true};
const word::ChordFont boldItalic{.useStyle = true, .bold = true, .italic = true};
const word::ChordFont redBoldUnderlined{.useColor = true,
                                        .useStyle = true,
                                        .bold = true,
                                        .underline = true,
                                        .lColor = red};
const word::ChordFont redAndBoldWithoutStyle{.useColor = true, .bold = true, .lColor = red};

const ReplaceTextRow replaceText[] = {
    {"NoCriteriaReplacesLyricsToo", "{b|D}  A\nDear Dad", anyText, "D", "X", "{b|X}  A\nXear Xad"},
    {"StyleWithoutBoxesAddsNothing", "{b|D} D", styleOnly, "D", "E", "{b|E} E"},
    {"StyleOffIgnoresBold", "{b|D} {#FF0000|D}", redAndBoldWithoutStyle, "D", "E", "{b|D} {#FF0000|E}"},
    {"BoldUnderlineAndColourAllNeeded",
     "{bu#FF0000|D} {b#FF0000|D} {bu|D} {biu#FF0000|D}",
     redBoldUnderlined,
     "D",
     "E",
     "{bu#FF0000|E} {b#FF0000|D} {bu|D} {biu#FF0000|E}"},
    {"BoldOnly", "{b|D} Dear {i|D}", bold, "D", "*:6:*", "{b|*:6:*} Dear {i|D}"},
    {"ItalicOnly", "{b|D} {i|Dm}", italic, "D", "E", "{b|D} {i|Em}"},
    {"SingleUnderlineOnly", "{u|D} {u3|D} D", underlined, "D", "E", "{u|E} {u3|D} D"},
    {"ColourCriterion", "{#FF0000|C} {#00FF00|C} C", redText, "C", "D", "{#FF0000|D} {#00FF00|C} C"},
    {"ColourBlue", "{#FF0000|Bb} {#0000FF|Bb}", blueText, "Bb", "C", "{#FF0000|Bb} {#0000FF|C}"},
    {"OnlyInLyricsLeavesSheet", "{b|G}\nDown by the river", bold, "D", "X", "{b|G}\nDown by the river"},
    {"NotFoundLeavesTheSheet", "{b|Am} G lyric", bold, "G", "X", "{b|Am} G lyric"},
    {"CaseIsExact", "{b|Ebm B b}", bold, "B", "C", "{b|Ebm C b}"},
    {"CaseIsExactInsideChords", "{b|Bb Ebm B}", bold, "B", "X", "{b|Xb Ebm X}"},
    {"InsideLongerWords", "{b|Dm7 Dsus4}", bold, "D", "E", "{b|Em7 Esus4}"},
    {"MarkerIsLiteral", "{b|*:11:* *:1:*}", bold, "*:1:*", "A", "{b|*:11:* A}"},
    {"MarkerIsLiteralBeforeALongerOne", "{b|*:1:* *:11:*}", bold, "*:1:*", "A", "{b|A *:11:*}"},
    {"ReplacementKeepsFormat", "{b#FF0000|Bb}m {b|Bb}", bold, "Bb", "*:2:*", "{b#FF0000|*:2:*}m {b|*:2:*}"},
    {"ReplacementKeepsEveryAttribute", "{bi#0000FF|F#m7}", boldItalic, "F#", "*:10:*", "{bi#0000FF|*:10:*m7}"},
    {"MixedMatchNeedsEveryCharacter", "{b|B}b {b|Bb}", bold, "Bb", "X", "{b|B}b {b|X}"},
    {"MatchMustCarryTheFontWhole", "{b|A}#", bold, "A#", "X", "{b|A}#"},
    {"NoOverlapLeftToRight", "{b|aaaa}", bold, "aa", "b", "{b|bb}"},
    {"ReplacedTextNotSearchedAgain", "{b|A}", bold, "A", "AA", "{b|AA}"},
    {"SpecialsInReplacementAreText", "{b|C}", bold, "C", "&$1\\", "{b|&$1\\\\}"},
    {"EmptyReplacementDeletes", "{b|G7} x", bold, "7", "", "{b|G} x"},
    {"EmptyReplacementDeletesAWholeChord", "{b|Am} x Am", bold, "Am", "", " x Am"},
    {"EmptyReplacementWithoutCriteriaDeletes", "{b|Am} x Am", anyText, "Am", "", " x "},
    {"AcrossParagraphs", "{b|C}\nlyric C\n{b|C}", bold, "C", "D", "{b|D}\nlyric C\n{b|D}"},
    {"UnicodeText", "{b|Ré♯ ré♯}", bold, "é♯", "e#", "{b|Re# re#}"},
};

const TextRow marking[] = {
    {"Article", "A man", "{b|A} man"},
    {"LyricWordsStartingLikeChords", "Amen Embrace", "{b|Am}en {b|Emb}race"},
    {"SlashChord", "G/B", "{b|G}/{b|B}"},
    {"SuffixStopsAtS", "C7sus4", "{b|C7}sus4"},
    {"SuffixStopsAtBracket", "Dm(maj7)", "{b|Dm}(maj7)"},
    {"SevenSuffixCharactersAtMost", "Cm7b5+9-7", "{b|Cm7b5+9-}7"},
    {"SevenFlatsAndDigitsAtMost", "Cm7b5b9b13", "{b|Cm7b5b9b}13"},
    {"SmallLettersNever", "am f# c", "am f# c"},
    {"CapitalSusOrDimNever", "ESus BDim", "ESus BDim"},
    {"NashvilleNever", "1 b3 5m 4/5", "1 b3 5m 4/5"},
    {"SharpAndFlat", "F# Bb", "{b|F#} {b|Bb}"},
    {"WordSuffixes",
     "F#sus Absus4 Dsus2 F#dim Bdim G#dim7 Ebmaj GMaj Bbmaj7 F#maj13 Abaug EAug Gadd2 F#7add4 A7add9",
     "{b|F#sus} {b|Absus4} {b|Dsus2} {b|F#dim} {b|Bdim} {b|G#dim7} {b|Ebmaj} {b|GMaj} {b|Bbmaj7} "
     "{b|F#maj13} {b|Abaug} {b|EAug} {b|Gadd2} {b|F#7add4} {b|A7add9}"},
    {"MoreWordSuffixes", "Ebsus4 Gmaj7 Ebadd9", "{b|Ebsus4} {b|Gmaj7} {b|Ebadd9}"},
    {"PatternTwoExamples", "Am7 F#m7b5 G7+ A6-9", "{b|Am7} {b|F#m7b5} {b|G7+} {b|A6-9}"},
    {"AlreadyMarked", "{b|Am7} x", "{b|Am7} x"},
    {"AlreadyMarkedBesideUnmarked", "{b|G} C", "{b|G} {b|C}"},
    {"ExistingFormattingKept", "{i#FF0000|Am} x", "{bi#FF0000|Am} x"},
    {"MixedFormattingInsideAMatchKept", "{i|A}m7 {u#FF0000|E}b", "{bi|A}{b|m7} {bu#FF0000|E}{b|b}"},
    {"UnderscoreEndsAWord", "F_G", "{b|F}_{b|G}"},
    {"ChordLineOverLyric", "C   G\nHello world", "{b|C}   {b|G}\nHello world"},
    {"LineBreaksAndParagraphsEndChords", "G\vD\nEm", "{b|G}\v{b|D}\n{b|Em}"},
};

const TextRow nashville[] = {
    {"WorkedExample", "1 4/5 6-7 b7 5sus4", "A D/E F#-7 G Esus4"},
    {"PlainDegrees", "1 2 3 4 5 6 7", "A B C# D E F# G#"},
    {"LoweredDegrees", "b2 b3 b5 b6 b7", "Bb C Eb F G"},
    {"Minor", "6m", "F#m"},
    {"DashSuffix", "2-7", "B-7"},
    {"PlusSuffix", "5+5", "E+5"},
    {"SlashBass", "4/5 2/4", "D/E B/D"},
    {"LoweredMinor", "b3m", "Cm"},
    {"RaisedDegrees", "#1 #2 #3 #4 #5 #6 #7", "Bb C D Eb F G A"},
    {"FlatOneAndFour", "b1 b4", "Ab Db"},
    {"RaisedBass", "5/#7", "E/A"},
    {"RaisedOverRaised", "#4/#6", "Eb/G"},
    {"LoweredBass", "1/b7 (b6)", "A/G (F)"},
    {"RaisedWithSuffixDigit", "#47 #5m7", "Eb7 Fm7"},
    // A "#" after a word character is a suffix, not a raised degree.
    {"SuffixSharpStays", "1m7#5 47#9", "Am7#5 D7#9"},
    {"EightAndNineStay", "8 9", "8 9"},
    {"LetterChordsPassThrough", "F#m7-5 C7#5", "F#m7-5 C7#5"},
    // A SHARP at a word start reads as the raised degree it protects.
    {"ProtectionWordsBecomeSymbols", "DASH5 PLUS3 mSHARP7 SHARP7", "-5 +3 m#7 A"},
    // A digit right after a degree belongs to its suffix.
    {"ThreeSeven", "37", "C#7"},
    {"SixSeven", "67", "F#7"},
    {"ThreeSix", "36", "C#6"},
    {"SevenSeven", "77", "G#7"},
    {"TwoSeven", "27", "B7"},
    {"OneThirteen", "113", "A13"},
    {"ThreeNine", "39", "C#9"},
    {"ThreeFour", "34", "C#4"},
    {"SuffixDigitWithSlashBass", "37/5", "C#7/E"},
    {"SixMinorSeven", "6m7", "F#m7"},
    {"ThreeSusFour", "3sus4", "C#sus4"},
    {"SharpBassAfterSlash", "3/7", "C#/G#"},
    {"LoweredWithSuffixDigit", "b37 b67", "C7 F7"},
};

} // namespace

std::span<const ReplaceTextRow> replaceTextRows()
{
    return replaceText;
}

std::span<const TextRow> markingRows()
{
    return marking;
}

std::span<const TextRow> nashvilleRows()
{
    return nashville;
}

} // namespace testsupport
