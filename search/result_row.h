#pragma once
#include "text/text.h"

// Appends one row to the result list: number, decoded title, size, magnet
// address. The title comes with its "<" already removed.
void AddResultRow(int number, const Text& title, const Text& hash, const Text& size);

// Rows 1, 2, ... pairing the i-th title, hash and size, as far as all three
// lists reach; the window's pending messages are dispatched before each row.
// Returns the number of rows added.
int AddResultRows(const TextArray& titles, const TextArray& hashes, const TextArray& sizes);
