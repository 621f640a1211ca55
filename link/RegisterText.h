#pragma once
// Register words and the texts in which the program shows them. A reader turns
// a word into the text of its form; a writer turns a text back into a word.
// Both sides name a form by one letter so that the block tables stay short:
//
//   letter  reader text                       writer conversion
//   'd'     "%d"                              decimal integer
//   '1'     "%.1f" of v x 0.1                 value x 10, +0.0001, truncated
//   '2'     "%.2f" of v x 0.01                value x 100, +0.0001, truncated
//   '3'     "%.3f" of v x 0.001               (never written)
//   '5'     "%05d"                            (never written)
//   '4'     "%04d"                            decimal integer
//   'b'     low five bits, bit 4 first        base 2
//   'o'     low fifteen bits as five octal    base 8
//           digits
//   '-'     "-----"                           (never written)
//   'c'     capacity code of the model        (never written)
//   'p'     pressure mode: as '2'; percent    pressure mode: as '2'; percent
//           mode: as 'd'                      mode: as 'd'
//   'f'     '2' or '1' by model and version   '2' or '1' by model and version
//
// 'p' and 'f' are resolved to a plain letter by the caller before a word is
// formatted or converted.

#include <cstdint>
#include <string>

// The reader text of word v in form letter (one of "d12354bo-"). Unknown
// letters give "%d".
std::string FormatRegisterText(char form, uint16_t v);

// Why a text could not become a register word.
enum class WordError {
    None,
    NotANumber, // empty, stray characters, or digits outside the base
    OutOfRange, // the word would lie outside 0 to 65535
};

// The register word of text in writer letter form (one of "d12bo4"). The
// decimal forms take an optional sign, digits and an optional fraction,
// surrounded by blanks; "d" drops a fraction as the drive's integer items
// always did ("7.0" is 7). Nothing is ever wrapped to 16 bits.
WordError ConvertTextToWord(char form, const std::string& text, uint16_t& word);

// Whether text, once trimmed, carries a decimal point: the group-14 mode items
// are written with decimals in pressure mode and without in percent mode.
bool TextHasDecimalPoint(const std::string& text);
