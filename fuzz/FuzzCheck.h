// A property a harness holds its code to: a broken one ends the run the way a crash does, so
// libFuzzer keeps the input and the corpus replay fails on it.
#pragma once

void requireThat(bool holds, const char* property);
