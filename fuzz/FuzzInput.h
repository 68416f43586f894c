#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads a fuzz input piece by piece: fixed-size numbers, and byte strings that end at a
// separator byte (or at the end of the input). Past the end every read gives zero or nothing.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : data(data)
        , size(size)
    {
    }

    bool atEnd() const { return at >= size; }

    std::uint8_t byte() { return at < size ? data[at++] : 0; }

    // The bytes up to the next separator (which is consumed), or up to the end.
    std::string field(std::uint8_t separator = 0x00)
    {
        std::string out;
        while (at < size && data[at] != separator)
            out.push_back(static_cast<char>(data[at++]));
        if (at < size)
            ++at;
        return out;
    }

    // Everything that is left.
    std::string rest()
    {
        std::string out(reinterpret_cast<const char*>(data) + at, size - at);
        at = size;
        return out;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};
