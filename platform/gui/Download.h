// Fetching an address into a file.
#pragma once

#include <functional>
#include <string>

#include "platform/Cancellation.h"

// Fetches `url` into `path` (GBK texts) and reports success; blocks until the transfer ends.
// Only http and https are spoken, also by the redirects it follows (five at most); https
// certificates and host names are verified. A status of 400 or more, a malformed address, a
// refused redirect or any other error gives false. The body goes to a temporary file in the
// target's folder, renamed over the target only when the whole body arrived, so a failed
// transfer removes its temporary file and leaves an existing target byte for byte. A transfer
// is given up when connecting takes longer than the connect timeout, or when fewer than one
// byte a second arrives for the stall time. Never throws; on failure `error` (when given) says
// why, in English.
bool DownloadToFile(const std::string& url, const std::string& path, std::string* error = nullptr);
// The same, called off by `cancel` (from any thread): the transfer then ends at once, also
// while it waits for a silent server; its temporary file is removed and the target stays as it
// was; the result is false.
// A cancellation made before the call fetches nothing.
bool DownloadToFile(const std::string& url, const std::string& path, const TCancellation& cancel,
                    std::string* error = nullptr);

// Looks at a whole body before it takes the target's place, given the temporary file that holds
// it (GBK path): "" lets it in; any other text refuses it, and is then the error.
using DownloadCheck = std::function<std::string(const std::string& file)>;
// The same, with the body checked (on the calling thread) before it is renamed over the target:
// a body the check refuses goes with its temporary file and the target stays as it was.
bool DownloadToFileChecked(const std::string& url, const std::string& path,
                           const TCancellation& cancel, const DownloadCheck& check,
                           std::string* error = nullptr);

struct DownloadTimeouts {
  long ConnectMilliseconds = 15000;
  long StallMilliseconds = 30000;
};
// Tests shorten the timeouts so that a stalled server is given up within seconds; a
// default-made value restores the real ones.
void SetDownloadTimeoutsForTesting(const DownloadTimeouts& timeouts);
