#include "tests/support/pe_image.h"

#include <fstream>
#include <iterator>

bool ReadPeImage(const std::string& path, PeImage& image)
{
    std::ifstream file(path, std::ios::binary);
    image.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return image.ReadAt(0, image.dos) && image.dos.e_magic == IMAGE_DOS_SIGNATURE
        && image.ReadAt(static_cast<std::size_t>(image.dos.e_lfanew), image.headers)
        && image.headers.Signature == IMAGE_NT_SIGNATURE
        && image.headers.OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
}
