// Where a packed executable keeps its quiz: the resource ids the pack tool
// writes and the player reads. n is the question number, from 1.
#pragma once

constexpr int quiz_stream_id = 104;   // type "PATCH"
constexpr int codes_stream_id = 105;  // type "PATCH"
// Type "PATCH", only in quizzes with other accepted answers or lenient grading:
// players that know nothing of it grade every box against its one answer.
constexpr int grading_stream_id = 106;
constexpr int question_picture_id_base = 400;  // + n, type "IMG"
constexpr int answer_picture_id_base = 10400;  // + n, type "IMG"
// + n, type "img": a sound or video question's media take its picture's place.
constexpr int media_resource_id_base = question_picture_id_base;
