#include "base/message_box.h"
#include "base/resource_bytes.h"
#include "quiz_data/quiz_record.h"
#include "quiz_data/quiz_resources.h"
#include "quiz_data/quiz_stream.h"
#include "quiz_data/stream_decoder.h"

namespace {

const char* const loader_caption = "Quizz";

// A resource that exists but cannot be read counts as a stream that does not decode.
bool decode_patch(const ResourceView& patch, DecodedStream& decoded) {
    if (!patch.bytes) return false;
    int result = decode_stream(patch.bytes, patch.size, decoded);
    if (decoded.output_allocation_failed) show_message("Impossible d'allouer la memoire", "information");
    return result == decode_ok;
}

// Returns false when the codes are not to be read: the fallback quiz, or a failure already reported.
bool load_quiz_stream(QuizRecord& record, HMODULE module) {
    ResourceView patch = find_resource(module, "PATCH", quiz_stream_id);
    if (patch.size == 0) {
        fill_fallback_quiz(record);
        record.update_colour_brush();
        return false;
    }
    DecodedStream decoded;
    if (!decode_patch(patch, decoded) || !parse_quiz_stream(decoded.bytes.get(), decoded.size, record)) {
        show_message("Erreur dans le décryptage des reponses", loader_caption);
        return false;
    }
    record.update_colour_brush();
    return true;
}

void load_codes_stream(QuizRecord& record, HMODULE module) {
    ResourceView patch = find_resource(module, "PATCH", codes_stream_id);
    if (!patch.found) {
        show_message("Codes non trouvés.", loader_caption);
        return;
    }
    if (patch.size == 0) {
        show_message("Codes non renseignés.", loader_caption);
        return;
    }
    DecodedStream decoded;
    if (!decode_patch(patch, decoded) ||
        !parse_codes_stream(decoded.bytes.get(), decoded.size, record.question_count, record.codes))
        show_message("Erreur dans le décryptage des codes", loader_caption);
}

// Optional: without it, or when it cannot be read, every box is graded exactly
// against its one answer, as by any player that knows nothing of it.
void load_grading_stream(QuizRecord& record, HMODULE module) {
    ResourceView patch = find_resource(module, "PATCH", grading_stream_id);
    DecodedStream decoded;
    if (patch.bytes && decode_stream(patch.bytes, patch.size, decoded) == decode_ok)
        parse_grading_stream(decoded.bytes.get(), decoded.size, record);
}

}  // namespace

void load_quiz(QuizRecord& record, HMODULE module) {
    if (!load_quiz_stream(record, module)) return;
    load_codes_stream(record, module);
    load_grading_stream(record, module);
}
