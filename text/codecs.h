#pragma once
// The keyword as the search site expects it in a query, and a cut title as the
// list shows it.
#include "text/text.h"

// System-code-page keyword -> percent-escaped UTF-8, only bytes below 0x80.
Text EncodeKeyword(const Text& keyword);
// Page bytes (UTF-8 with %XX escapes) -> system-code-page Text.
Text DecodeName(const Text& name);
// The first half of DecodeName: every %XX escape made into its byte, the
// bytes left as they are. Never holds a zero byte.
Bytes PercentDecode(const Text& name);
