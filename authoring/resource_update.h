// Resources of executables: writing a quiz into a copy of the player, and
// reading one back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "authoring/app_icon.h"
#include "authoring/diagnostic.h"
#include "authoring/player_format.h"

// What a packed quiz shows of itself in Explorer and the task manager.
struct QuizIdentity {
    std::string title;  // Windows-1252: the version information's file description
    AppIcon icon;       // empty: the player's own icon stays
};

// Writes `output` as a copy of `template_path` that carries `resources` (in the
// neutral language) in place of the template's PATCH and IMG resources, and
// keeps every other resource with its own language, the version information
// with the quiz's title as its file description, and the quiz's icon, if it
// has one, in place of the template's icon group 1 and its images. The copy is
// made under a temporary name beside `output` and renamed into place once it
// reads back right, so `output` appears whole or not at all; the template never
// changes. Returns false with what stopped it in `failure`.
bool write_packed_executable(const std::string& template_path, const std::string& output,
                             const std::vector<PackedResource>& resources, const QuizIdentity& identity,
                             Diagnostic& failure);

// The icon a packed quiz was given (its icon group 1 in the neutral language,
// where the pack tool writes it); false when it shows the player's own.
bool read_quiz_icon(HMODULE module, AppIcon& icon);
