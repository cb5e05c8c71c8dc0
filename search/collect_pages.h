#pragma once
// The second half of a search of several result pages: fetches pages 2 to
// N + 1 (N from 编辑框3), parks their entries, then fills the result list
// from everything parked and ends the search.
void CollectPages();
