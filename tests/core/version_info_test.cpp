// Rewriting the file description of a version resource, against resources
// encoded here independently of the rewriter.
#include "authoring/version_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void put_word(Bytes& bytes, std::size_t value) {
    bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

void pad(Bytes& bytes) {
    while (bytes.size() % 4) bytes.push_back(0);
}

// One node: a text value when `text` is set, else `binary` (possibly empty), then the children.
Bytes node(const std::u16string& key, const std::u16string* text, const Bytes& binary,
           const std::vector<Bytes>& children) {
    Bytes bytes(6, 0);
    for (char16_t unit : key + u'\0') put_word(bytes, unit);
    pad(bytes);
    if (text) {
        for (char16_t unit : *text + u'\0') put_word(bytes, unit);
    } else {
        bytes.insert(bytes.end(), binary.begin(), binary.end());
    }
    for (const Bytes& child : children) {
        pad(bytes);
        bytes.insert(bytes.end(), child.begin(), child.end());
    }
    bytes[0] = static_cast<unsigned char>(bytes.size() & 0xFF);
    bytes[1] = static_cast<unsigned char>(bytes.size() >> 8);
    const std::size_t value_length = text ? text->size() + 1 : binary.size();
    bytes[2] = static_cast<unsigned char>(value_length);
    bytes[4] = text ? 1 : 0;
    return bytes;
}

Bytes string_node(const std::u16string& key, const std::u16string& value) { return node(key, &value, {}, {}); }

Bytes resource(const std::u16string& description) {
    const Bytes fixed = {0xBD, 0x04, 0xEF, 0xFE, 0, 0, 1, 0};
    const Bytes table = node(u"040c04e4", nullptr, {},
                             {string_node(u"FileDescription", description), string_node(u"ProductName", u"Devinette")});
    const Bytes english = node(u"040904e4", nullptr, {}, {string_node(u"FileDescription", description)});
    const Bytes translation = node(u"Translation", nullptr, {0x0C, 0x04, 0xE4, 0x04}, {});
    return node(u"VS_VERSION_INFO", nullptr, fixed,
                {node(u"StringFileInfo", nullptr, {}, {table, english}),
                 node(u"VarFileInfo", nullptr, {}, {translation})});
}

TEST(VersionInfo, EveryFileDescriptionBecomesTheTextAndTheRestStays) {
    for (const char* text : {"Les peintres à l'œuvre", "Quiz", ""}) {  // odd, even and empty lengths
        SCOPED_TRACE(text);
        Bytes bytes = resource(u"Devinette, lecteur de quiz");
        ASSERT_TRUE(set_file_description(bytes, text));
        std::u16string expected;
        for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c)
            expected += *c == 0xE0 ? u'\u00e0' : *c == 0x9C ? u'\u0153' : static_cast<char16_t>(*c);
        EXPECT_EQ(bytes, resource(expected));
    }
}

TEST(VersionInfo, RefusesWhatIsNoVersionResourceAndLeavesItUnchanged) {
    Bytes truncated = resource(u"x");
    truncated.pop_back();
    const Bytes other_root = node(u"VS_OTHER", nullptr, {}, {});
    const struct {
        const char* label;
        Bytes bytes;
        const char* text;
    } cases[] = {{"empty", {}, "t"},
                 {"truncated", truncated, "t"},
                 {"another root", other_root, "t"},
                 {"a byte Windows-1252 leaves undefined", resource(u"x"), "\x81"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes bytes = c.bytes;
        EXPECT_FALSE(set_file_description(bytes, c.text));
        EXPECT_EQ(bytes, c.bytes);
    }
}

}  // namespace
