// Media of sound and video quizzes: extraction to a file and the hosted media player.
#pragma once

#include <windows.h>

void init_media_layer();
bool attach_player(HWND question_panel);
int extract_media(unsigned resource_id, int media_kind);
void play_question_media(int question_number);
void stop_question_media();
void release_media_layer(HWND main_window);

// Replaces the name of the library that hosts the player ("atl.dll"), so tests
// can make it missing; nullptr restores it. Takes effect at init_media_layer.
void set_hosting_library(const char* library_name);
