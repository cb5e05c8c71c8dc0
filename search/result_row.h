#pragma once
#include "text/text.h"

// Appends one row to the result list: number, decoded title, size, magnet
// address. The title comes with its "<" already removed.
void AddResultRow(int number, const Text& title, const Text& hash, const Text& size);
