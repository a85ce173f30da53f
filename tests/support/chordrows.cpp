#include "chordrows.h"

namespace testsupport
{

namespace
{

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

std::span<const TextRow> markingRows()
{
    return marking;
}

std::span<const TextRow> nashvilleRows()
{
    return nashville;
}

} // namespace testsupport
