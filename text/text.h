#pragma once
// Text, byte strings and Text arrays, and the operations every scraping rule
// rests on. Positions are 1-based byte positions; a failed search gives -1.
//
// The two-byte character rule: every walk over Text (searching, replacing,
// splitting, case mapping) takes a byte of 0x80 or above together with the
// byte after it as one character and tries matches only where a character
// begins. No code page is consulted, so the rule holds for UTF-8 page bodies
// too.

#include <cstdint>
#include <string>
#include <vector>

// Bytes of the system code page (or raw page UTF-8); never holds a zero byte.
using Text = std::string;
// Any bytes, zero bytes included.
using Bytes = std::string;
// Elements are numbered 1..size; see ArrayItem.
using TextArray = std::vector<Text>;

int TextLength(const Text& t);
Text TextLeft(const Text& t, int n);
Text TextRight(const Text& t, int n);
Text TextMid(const Text& t, int start, int n);
int CharCodeAt(const Text& t, int pos);
Text CharFromCode(int code);
int FindText(const Text& t, const Text& sought, int start = 1, bool ignoreCase = false);
Text UpperText(const Text& t);
Text LowerText(const Text& t);
double TextToNumber(const Text& t);
int32_t TextToInteger(const Text& t);
Text ReplaceAt(const Text& t, int start, int n, const Text& replacement = Text());
inline constexpr int kNoLimit = -1;
Text ReplaceAll(const Text& t, const Text& sought, const Text& replacement = Text(), int start = 1,
                int maxCount = kNoLimit, bool caseSensitive = true);
TextArray SplitText(const Text& t, const Text& delimiter);
Text BlankText(int n);
int CompareText(const Text& a, const Text& b, bool caseSensitive);
Text IntegerToText(int32_t i);
Text NumberToText(double x);
Bytes TextToBytes(const Text& t);
Text BytesToText(const Bytes& b);

int BytesLength(const Bytes& b);
Bytes BytesLeft(const Bytes& b, int n);
Bytes BytesRight(const Bytes& b, int n);
int FindBytes(const Bytes& b, const Bytes& sought);
Bytes BlankBytes(int n);
int32_t ReadInteger(const Bytes& b);

int ArraySize(const TextArray& a);
// Element i (1-based); empty Text outside 1..size, never a crash.
Text ArrayItem(const TextArray& a, int i);
