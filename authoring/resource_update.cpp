#include "authoring/resource_update.h"

#include <algorithm>
#include <utility>

#include "base/file_replace.h"
#include "base/owned_handle.h"
#include "base/system_error.h"
#include "base/wide_text.h"
#include "authoring/version_info.h"

namespace {

const WORD neutral_language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

// A resource type or name: an integer id, or a string when id is 0.
struct ResourceName {
    WORD id = 0;
    std::string text;

    explicit ResourceName(LPCSTR name) {
        if (IS_INTRESOURCE(name))
            id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        else
            text = name;
    }
    LPCSTR get() const { return id ? MAKEINTRESOURCEA(id) : text.c_str(); }
};

struct TemplateResource {
    ResourceName type;
    ResourceName name;
    WORD language;
    std::vector<unsigned char> bytes;
};

// Closing an update handle without EndUpdateResourceA(FALSE) discards its changes.
struct UpdateTraits {
    static HANDLE empty() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr; }
    static void close(HANDLE h) { EndUpdateResourceA(h, TRUE); }
};
using OwnedUpdate = OwnedHandle<HANDLE, UpdateTraits>;

OwnedModule load_as_data(const std::string& path) {
    return OwnedModule(LoadLibraryExW(wide_text(path).c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

bool copy_found(HMODULE module, HRSRC info, std::vector<unsigned char>& bytes) {
    if (!info) return false;
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);  // resource memory belongs to the module
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0) return false;
    const unsigned char* first = static_cast<const unsigned char*>(data);
    bytes.assign(first, first + size);
    return true;
}

bool copy_resource(HMODULE module, LPCSTR type, LPCSTR name, WORD language, std::vector<unsigned char>& bytes) {
    return copy_found(module, FindResourceExA(module, type, name, language), bytes);
}

// The resources a packed quiz replaces; string types compare without regard to case.
bool replaced_type(LPCSTR type) {
    return !IS_INTRESOURCE(type) && (lstrcmpiA(type, "PATCH") == 0 || lstrcmpiA(type, "IMG") == 0);
}

struct Collection {
    std::vector<TemplateResource> kept;
    bool failed = false;
};

BOOL CALLBACK collect_language(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
    Collection& collection = *reinterpret_cast<Collection*>(param);
    TemplateResource resource{ResourceName(type), ResourceName(name), language, {}};
    if (!copy_resource(module, type, name, language, resource.bytes)) {
        collection.failed = true;
        return FALSE;
    }
    collection.kept.push_back(std::move(resource));
    return TRUE;
}

BOOL CALLBACK collect_name(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    EnumResourceLanguagesA(module, type, name, collect_language, param);
    return !reinterpret_cast<Collection*>(param)->failed;
}

BOOL CALLBACK collect_type(HMODULE module, LPSTR type, LONG_PTR param) {
    if (!replaced_type(type)) EnumResourceNamesA(module, type, collect_name, param);
    return !reinterpret_cast<Collection*>(param)->failed;
}

// Every resource of the template but the quiz's, with its bytes.
bool collect_template(const std::string& path, std::vector<TemplateResource>& kept, Diagnostic& failure) {
    OwnedModule module = load_as_data(path);
    if (!module) {
        failure = file_error(path, windows_error({"cannot be read as an executable", u8"ne peut pas être lu comme un programme"}));
        return false;
    }
    Collection collection;
    // A template without any resource makes the enumeration fail: nothing to keep.
    EnumResourceTypesA(module.get(), collect_type, reinterpret_cast<LONG_PTR>(&collection));
    if (collection.failed) {
        failure = file_error(path, {"a resource of the template cannot be read", u8"une ressource du modèle ne peut pas être lue"});
        return false;
    }
    kept = std::move(collection.kept);
    return true;
}

bool update_resources(const std::string& path, const std::vector<TemplateResource>& kept,
                      const std::vector<PackedResource>& resources, Diagnostic& failure) {
    OwnedUpdate update(BeginUpdateResourceW(wide_text(path).c_str(), TRUE));
    if (!update) {
        failure = file_error(path, windows_error({"cannot update the resources", u8"ne peut pas mettre à jour les ressources"}));
        return false;
    }
    for (const TemplateResource& resource : kept) {
        if (!UpdateResourceA(update.get(), resource.type.get(), resource.name.get(), resource.language,
                             const_cast<unsigned char*>(resource.bytes.data()),
                             static_cast<DWORD>(resource.bytes.size()))) {
            failure = file_error(path, windows_error({"cannot write back a resource of the template", u8"ne peut pas réécrire une ressource du modèle"}));
            return false;
        }
    }
    for (const PackedResource& resource : resources) {
        if (!UpdateResourceA(update.get(), resource.type, MAKEINTRESOURCEA(resource.id), neutral_language,
                             const_cast<unsigned char*>(resource.bytes.data()),
                             static_cast<DWORD>(resource.bytes.size()))) {
            const std::string name = std::string(resource.type) + " " + std::to_string(resource.id);
            failure = file_error(path, windows_error({"cannot write resource " + name,
                                                      u8"ne peut pas écrire la ressource " + name}));
            return false;
        }
    }
    if (!EndUpdateResourceA(update.release(), FALSE)) {
        failure = file_error(path, windows_error({"cannot save the updated resources", u8"ne peut pas enregistrer les ressources mises à jour"}));
        return false;
    }
    return true;
}

// Reads every written resource back from the file before it replaces the output.
bool reads_back(const std::string& path, const std::vector<TemplateResource>& kept,
                const std::vector<PackedResource>& resources, Diagnostic& failure) {
    OwnedModule module = load_as_data(path);
    bool same = static_cast<bool>(module);
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; same && i < kept.size(); ++i)
        same = copy_resource(module.get(), kept[i].type.get(), kept[i].name.get(), kept[i].language, bytes) &&
               bytes == kept[i].bytes;
    for (std::size_t i = 0; same && i < resources.size(); ++i)
        same = copy_resource(module.get(), resources[i].type, MAKEINTRESOURCEA(resources[i].id), neutral_language,
                             bytes) &&
               bytes == resources[i].bytes;
    if (!same) failure = file_error(path, {"the updated executable does not read back what was written", u8"le programme mis à jour ne relit pas ce qui a été écrit"});
    return same;
}

bool is_type(const TemplateResource& resource, LPCSTR type) {
    return resource.type.id == reinterpret_cast<ULONG_PTR>(type);
}

// The quiz's title shows in the file's properties and the task manager.
bool describe_quiz(std::vector<TemplateResource>& kept, const std::string& title, const std::string& path,
                   Diagnostic& failure) {
    for (TemplateResource& resource : kept) {
        if (!is_type(resource, RT_VERSION)) continue;
        if (!set_file_description(resource.bytes, title)) {
            failure = file_error(path, {"the version information of the template cannot be read", u8"les informations de version du modèle ne peuvent pas être lues"});
            return false;
        }
    }
    return true;
}

// Explorer shows the first icon group, which is group 1: the quiz's icon takes
// its place, under image ids that no other group uses, and the images of the
// template's group go with it.
void replace_app_icon(std::vector<TemplateResource>& kept, const AppIcon& icon) {
    std::vector<int> replaced;
    for (const TemplateResource& resource : kept)
        if (is_type(resource, RT_GROUP_ICON) && resource.name.id == app_icon_group_id)
            for (int id : icon_group_image_ids(resource.bytes)) replaced.push_back(id);
    const auto goes = [&](const TemplateResource& resource) {
        return (is_type(resource, RT_GROUP_ICON) && resource.name.id == app_icon_group_id) ||
               (is_type(resource, RT_ICON) &&
                std::find(replaced.begin(), replaced.end(), resource.name.id) != replaced.end());
    };
    kept.erase(std::remove_if(kept.begin(), kept.end(), goes), kept.end());
    int first_id = 1;
    for (const TemplateResource& resource : kept)
        if (is_type(resource, RT_ICON)) first_id = std::max(first_id, resource.name.id + 1);
    for (std::size_t i = 0; i < icon.size(); ++i)
        kept.push_back({ResourceName(RT_ICON), ResourceName(MAKEINTRESOURCEA(first_id + static_cast<int>(i))),
                        neutral_language, icon[i].bytes});
    kept.push_back({ResourceName(RT_GROUP_ICON), ResourceName(MAKEINTRESOURCEA(app_icon_group_id)),
                    neutral_language, icon_group(icon, first_id)});
}

}  // namespace

bool write_packed_executable(const std::string& template_path, const std::string& output,
                             const std::vector<PackedResource>& resources, const QuizIdentity& identity,
                             Diagnostic& failure) {
    std::vector<TemplateResource> kept;
    if (!collect_template(template_path, kept, failure) || !describe_quiz(kept, identity.title, template_path, failure))
        return false;
    if (!identity.icon.empty()) replace_app_icon(kept, identity.icon);

    FileReplacement replacement(wide_text(output));
    const std::string folder = utf8_text(folder_of(wide_text(output)).c_str());
    if (!replacement.create_temporary()) {
        failure = file_error(folder, windows_error({"cannot create a temporary file in this folder", u8"ne peut pas créer de fichier temporaire dans ce dossier"}));
        return false;
    }
    const std::string temporary = utf8_text(replacement.temporary().c_str());
    if (!CopyFileW(wide_text(template_path).c_str(), replacement.temporary().c_str(), FALSE)) {
        failure = file_error(template_path, windows_error({"cannot be copied", u8"ne peut pas être copié"}));
        return false;
    }
    if (!update_resources(temporary, kept, resources, failure) || !reads_back(temporary, kept, resources, failure))
        return false;
    if (!replacement.replace()) {
        failure = file_error(output, windows_error({"cannot be replaced", u8"ne peut pas être remplacé"}));
        return false;
    }
    return true;
}

BOOL CALLBACK note_neutral(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    if (language == neutral_language) *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

bool read_quiz_icon(HMODULE module, AppIcon& icon) {
    bool neutral = false;
    EnumResourceLanguagesA(module, RT_GROUP_ICON, MAKEINTRESOURCEA(app_icon_group_id), note_neutral,
                           reinterpret_cast<LONG_PTR>(&neutral));
    std::vector<unsigned char> group;
    if (!neutral ||
        !copy_resource(module, RT_GROUP_ICON, MAKEINTRESOURCEA(app_icon_group_id), neutral_language, group))
        return false;
    std::vector<std::vector<unsigned char>> images;
    for (int id : icon_group_image_ids(group)) {
        images.emplace_back();
        if (!copy_resource(module, RT_ICON, MAKEINTRESOURCEA(id), neutral_language, images.back())) return false;
    }
    icon = icon_of_group(group, images);
    return !icon.empty();
}
