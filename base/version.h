// The program's version: one place for the version label and the version
// information of the resource script, which includes this file too.
#pragma once

#define DEVINETTE_VERSION_NUMBERS 2, 1, 2, 0
#define DEVINETTE_VERSION_TEXT "2.1.2"
