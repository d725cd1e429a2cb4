// A program file loaded as data only: its headers and resources, no code run.
#pragma once

#include <windows.h>

class DataModule {
public:
    explicit DataModule(const wchar_t* path)
        : module_(LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~DataModule() { if (module_) FreeLibrary(module_); }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};
