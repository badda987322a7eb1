#pragma once

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "../core/jpegmaker.h"

// A fresh folder under /tmp, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/rkfaults_XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string at(const std::string& name) const { return path_ + "/" + name; }
    // Writes `bytes` to the file `name` in the folder; its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        writeBytesToFile(at(name), bytes);
        return at(name);
    }

private:
    std::string path_;
};
