#include "DesktopOpen.h"

#include <gio/gio.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace desktop_open {

namespace {

// Why a path cannot be opened, from the file system itself.
int CheckPath(const char* path) {
  struct stat info {};
  if (stat(path, &info) != 0) {
    if (errno == EACCES) return kAccessDenied;
    if (errno != ENOENT && errno != ENOTDIR) return kFileNotFound;
    std::string directory(path);
    std::string::size_type slash = directory.rfind('/');
    directory = slash == std::string::npos ? "." : slash == 0 ? "/" : directory.substr(0, slash);
    struct stat parent {};
    return stat(directory.c_str(), &parent) == 0 && S_ISDIR(parent.st_mode) ? kFileNotFound : kPathNotFound;
  }
  if (access(path, R_OK) != 0) return kAccessDenied;
  return kDesktopOpened;
}

// The content type as the file manager sees it: name and content sniffed.
char* ContentType(GFile* file) {
  GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE,
                                      nullptr, nullptr);
  if (!info) return nullptr;
  const char* type = g_file_info_get_content_type(info);
  char* copy = type ? g_strdup(type) : nullptr;
  g_object_unref(info);
  return copy;
}

}  // namespace

int OpenWithDefaultApplication(const char* path) {
  if (!path || !*path) return kFileNotFound;
  if (int problem = CheckPath(path)) return problem;
  GFile* file = g_file_new_for_path(path);
  char* type = ContentType(file);
  GAppInfo* application = type ? g_app_info_get_default_for_type(type, FALSE) : nullptr;
  g_free(type);
  int result = kNoAssociation;
  if (application) {
    GList files = {file, nullptr, nullptr};
    result = g_app_info_launch(application, &files, nullptr, nullptr) ? kDesktopOpened : kLaunchFailed;
    g_object_unref(application);
  }
  g_object_unref(file);
  return result;
}

}  // namespace desktop_open
