#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kavo {

// A new version of a file, written beside it under a unique name that is created exclusively, and
// put in its place by a rename only once complete. So nobody ever sees the file half written, two
// writers never mix their bytes (the last rename wins whole), and a failed write leaves the old
// file as it was and no partial file behind. The new file keeps the permissions of the file it
// replaces; a file that did not exist gets those the process's file mask allows.
class TFileReplacement {
  public:
    explicit TFileReplacement(std::string target);
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;
    // Removes the temporary file unless it was committed.
    ~TFileReplacement();

    // Creates the temporary file in the target's folder. False with Error() set.
    bool Open();
    // Appends the bytes. False with Error() set.
    bool Write(std::string_view bytes);
    // Closes the temporary file, with its data on the disk first when sync is set, and renames it
    // over the target. False with Error() set; the target is then unchanged.
    bool Commit(bool sync);
    // The system's reason for the last failure ("Permission denied", "No space left on device").
    const std::string& Error() const { return Reason; }

    // Writes the whole file at once: Open, Write and Commit. False with the reason in error.
    static bool Replace(const std::string& target, std::string_view bytes, bool sync,
                        std::string& error);

  private:
    bool Fail(int error);
    void Discard();

    std::string Target;
    std::string Temporary;
    int Descriptor = -1;
    std::string Reason;
};

}  // namespace kavo
