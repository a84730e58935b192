#include "authoring/version_info.h"

#include <cstddef>
#include <utility>

#include "authoring/cp1252.h"

namespace {

// One node: WORD length, WORD value length, WORD type (1 text, 0 binary), the
// key ending in a zero, padding to 4 bytes, the value, padding, the children.
// A text value's length counts UTF-16 units with its zero; a binary one, bytes.
struct Node {
    std::u16string key;
    bool text = false;
    std::vector<unsigned char> value;
    std::vector<Node> children;
};

std::size_t aligned(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

unsigned read_word(const std::vector<unsigned char>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

bool parse(const std::vector<unsigned char>& bytes, std::size_t start, std::size_t limit, Node& node,
           std::size_t& end) {
    if (start + 6 > limit) return false;
    const std::size_t length = read_word(bytes, start);
    const std::size_t value_length = read_word(bytes, start + 2);
    const unsigned type = read_word(bytes, start + 4);
    end = start + length;
    if (length < 6 || end > limit || type > 1) return false;
    node.text = type == 1;
    std::size_t at = start + 6;
    for (;; at += 2) {
        if (at + 2 > end) return false;
        const char16_t unit = static_cast<char16_t>(read_word(bytes, at));
        if (unit == 0) break;
        node.key += unit;
    }
    at = aligned(at + 2);
    const std::size_t value_bytes = node.text ? 2 * value_length : value_length;
    if (value_bytes > 0) {
        if (at + value_bytes > end) return false;
        node.value.assign(bytes.begin() + at, bytes.begin() + at + value_bytes);
        at = aligned(at + value_bytes);
    }
    while (at < end) {
        Node child;
        std::size_t child_end = 0;
        if (!parse(bytes, at, end, child, child_end)) return false;
        node.children.push_back(std::move(child));
        at = aligned(child_end);
    }
    return true;
}

void put_word(std::vector<unsigned char>& bytes, std::size_t at, std::size_t word) {
    bytes[at] = static_cast<unsigned char>(word & 0xFF);
    bytes[at + 1] = static_cast<unsigned char>(word >> 8);
}

void pad(std::vector<unsigned char>& bytes) { bytes.resize(aligned(bytes.size()), 0); }

// False when a length does not fit its WORD.
bool write(const Node& node, std::vector<unsigned char>& bytes) {
    const std::size_t start = bytes.size();
    bytes.resize(start + 6, 0);
    for (char16_t unit : node.key) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    pad(bytes);
    bytes.insert(bytes.end(), node.value.begin(), node.value.end());
    for (const Node& child : node.children) {
        pad(bytes);
        if (!write(child, bytes)) return false;
    }
    const std::size_t length = bytes.size() - start;
    if (length > 0xFFFF) return false;
    put_word(bytes, start, length);
    put_word(bytes, start + 2, node.text ? node.value.size() / 2 : node.value.size());
    put_word(bytes, start + 4, node.text ? 1 : 0);
    return true;
}

bool utf16_value(const std::string& cp1252_text, std::vector<unsigned char>& value) {
    value.clear();
    for (char byte : cp1252_text) {
        char32_t code_point = 0;
        if (!cp1252_code_point(static_cast<unsigned char>(byte), code_point)) return false;
        value.push_back(static_cast<unsigned char>(code_point & 0xFF));
        value.push_back(static_cast<unsigned char>(code_point >> 8));
    }
    value.push_back(0);
    value.push_back(0);
    return true;
}

}  // namespace

bool set_file_description(std::vector<unsigned char>& resource, const std::string& cp1252_text) {
    Node root;
    std::size_t end = 0;
    std::vector<unsigned char> description;
    if (!parse(resource, 0, resource.size(), root, end) || root.key != u"VS_VERSION_INFO" ||
        !utf16_value(cp1252_text, description))
        return false;
    for (Node& block : root.children) {
        if (block.key != u"StringFileInfo") continue;
        for (Node& table : block.children)
            for (Node& string : table.children)
                if (string.key == u"FileDescription") {
                    string.text = true;
                    string.value = description;
                }
    }
    std::vector<unsigned char> rewritten;
    if (!write(root, rewritten)) return false;
    resource = std::move(rewritten);
    return true;
}
