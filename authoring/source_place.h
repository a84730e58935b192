// Where a value starts in a quiz source.
#pragma once

// Both counted from 1; 0 where there is none.
struct SourcePlace {
    int line = 0;
    int column = 0;
};
