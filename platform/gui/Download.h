// Fetching a URL into a file.
#pragma once

#include <string>

// Fetches `url` into `path` (GBK texts) and reports success. The transfer goes to a temporary
// file beside the target, renamed into place only when the whole body arrived with a success
// status, so a failed download leaves an existing file as it was. HTTPS certificates are
// verified; redirects are followed; a stalled or endless transfer times out. Never throws; on
// failure `error` (when given) says why.
bool DownloadToFile(const std::string& url, const std::string& path, std::string* error = nullptr);
