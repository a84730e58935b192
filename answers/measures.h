// String measures that grading rests on. Raw single-byte comparison, no locale.
#pragma once

void trim_spaces(char* text);   // removes 0x20 at both ends, in place
void fold_to_upper(char* text); // a-z to A-Z, every other byte unchanged
int edit_distance(const char* first, const char* second);
// The distance when it is at most `limit`, otherwise limit + 1 (faster for a small limit).
int edit_distance_within(const char* first, const char* second, int limit);
bool same_letters(const char* first, const char* second);
int containment(const char* accepted, const char* typed);  // -2, -1, 0, 1 or 2
float length_ratio(int accepted_length, int typed_length);
float similarity(int accepted_length, int typed_length, int distance);
