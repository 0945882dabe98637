#pragma once

#include <QString>

namespace kavo {

inline constexpr const char* kCaseDocumentName = "KAVO case.htm";
// The folder beside the case document that holds its pictures.
inline constexpr const char* kImageFolderName = "gif";

// The rules by which the folder chooser turns what the user typed or browsed to into a case
// folder. They look at the text only, except FolderHoldsCase.

// Whether the text is the address of a web page rather than a place on disk.
bool IsWebAddress(const QString& location);

// The place on disk a location stands for: a "file:///" location becomes its path with every %XX
// decoded, and a location naming the case document becomes the folder that holds it, "/" kept.
// Web addresses come back unchanged.
QString LocationToPath(const QString& location);

// The folder a confirmed path stands for, ending in "/". A backslash is an ordinary character.
QString WithTrailingSlash(const QString& path);

// Whether the folder holds a case document.
bool FolderHoldsCase(const QString& folder);

// What the chooser shows for a folder: the case document in it when there is one, else the
// folder itself.
QString ShownLocation(const QString& folder);

// The folder one level above; the root stays the root.
QString ParentFolder(const QString& folder);

// The folder itself when it exists, else the nearest folder above it that does (the root at
// worst).
QString NearestFolder(const QString& folder);

}  // namespace kavo
