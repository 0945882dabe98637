#include "casefile/TFileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

namespace kavo {

namespace {

// The folder part of a path, "." for none, and the name part.
std::pair<std::string, std::string> Split(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Syncs the folder, so that a rename in it survives a crash too.
void SyncFolder(const std::string& folder) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

}  // namespace

TFileReplacement::TFileReplacement(std::string target) : Target(std::move(target)) {}

TFileReplacement::~TFileReplacement() {
    Discard();
}

bool TFileReplacement::Fail(int error) {
    Reason = std::strerror(error);
    Discard();
    return false;
}

void TFileReplacement::Discard() {
    if (Descriptor >= 0) {
        close(Descriptor);
        Descriptor = -1;
    }
    if (!Temporary.empty()) {
        unlink(Temporary.c_str());
        Temporary.clear();
    }
}

bool TFileReplacement::Open() {
    const auto [folder, name] = Split(Target);
    std::random_device entropy;
    std::mt19937_64 random((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy() ^
                           static_cast<std::uint64_t>(getpid()));
    // A hidden name of the target's, so that a file left by a crash is plainly a leftover.
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(random()));
        const std::string candidate = folder + "/." + name + suffix;
        Descriptor = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Descriptor >= 0) {
            Temporary = candidate;
            return true;
        }
        if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    return Fail(EEXIST);
}

bool TFileReplacement::Write(std::string_view bytes) {
    if (Descriptor < 0) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = write(Descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail(written < 0 ? errno : ENOSPC);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool TFileReplacement::Commit(bool sync) {
    if (Descriptor < 0) {
        return false;
    }
    struct stat old {};
    if (stat(Target.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        fchmod(Descriptor, old.st_mode & 07777) != 0) {
        return Fail(errno);
    }
    if (sync && fsync(Descriptor) != 0) {
        return Fail(errno);
    }
    const int descriptor = Descriptor;
    Descriptor = -1;
    if (close(descriptor) != 0) {
        return Fail(errno);
    }
    if (rename(Temporary.c_str(), Target.c_str()) != 0) {
        return Fail(errno);
    }
    Temporary.clear();
    if (sync) {
        SyncFolder(Split(Target).first);
    }
    return true;
}

bool TFileReplacement::Replace(const std::string& target, std::string_view bytes, bool sync,
                               std::string& error) {
    TFileReplacement file(target);
    const bool done = file.Open() && file.Write(bytes) && file.Commit(sync);
    error = file.Error();
    return done;
}

}  // namespace kavo
