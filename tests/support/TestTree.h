// Removing a test's own folder tree.
#pragma once

#include <string>

// Deletes root and everything below it, read-only files included. A link is
// removed itself, never followed, so nothing outside the tree is touched.
// Missing paths and entries that cannot be deleted are left as they are.
void RemoveTree(const std::wstring& root);
