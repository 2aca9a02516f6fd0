// The floor of the table benchmark: each file read whole and replaced by a copy of its
// bytes, durably (a new file beside it, synced to the disk, renamed over the old one), as
// plainly as the system allows. Not part of the program; bench/table_bench.sh builds it.

#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool readWhole(const char *path, std::vector<char> *bytes)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bytes->clear();
    char buffer[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes->insert(bytes->end(), buffer, buffer + got);
    ::close(fd);
    return got == 0;
}

bool replaceDurably(const char *path, const std::vector<char> &bytes)
{
    const std::string temporary = std::string(path) + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += std::size_t(n);
    }
    return ::fsync(fd) == 0 && ::close(fd) == 0 && ::rename(temporary.c_str(), path) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    std::vector<char> bytes;
    for (int i = 1; i < argc; ++i) {
        if (!readWhole(argv[i], &bytes) || !replaceDurably(argv[i], bytes)) {
            std::perror(argv[i]);
            return 1;
        }
    }
    return 0;
}
