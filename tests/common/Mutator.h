#pragma once
// A small deterministic mutation driver: every reader is fed its own seeds
// changed in the ways damaged and crafted files differ from good ones (bits
// flipped, bytes set to edge values, lengths made huge, pieces cut out,
// repeated or spliced from another seed). The same runs every time, so a
// failure found once is found again; D390_FUZZ_RUNS sets how many.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

class CMutator {
public:
    explicit CMutator(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 1) {}

    std::uint32_t Below(std::uint32_t bound) { return bound ? static_cast<std::uint32_t>(Next() % bound) : 0; }

    // One input: a seed with one to eight changes.
    std::string Mutate(const std::vector<std::string>& seeds)
    {
        std::string data = seeds[Below(static_cast<std::uint32_t>(seeds.size()))];
        const int changes = 1 + static_cast<int>(Below(8));
        for (int n = 0; n < changes; ++n)
            Change(data, seeds);
        return data;
    }

private:
    std::uint64_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }

    void Change(std::string& data, const std::vector<std::string>& seeds)
    {
        static const unsigned char kEdges[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xFE, '\r', '\n', ',', ':', '-', '<', '>',
                                               '"', '&', '#', '@', '$', '*', '0', '9'};
        const std::size_t size = data.size();
        switch (Below(9)) {
        case 0: // flip a bit
            if (size)
                data[Below(static_cast<std::uint32_t>(size))] ^= static_cast<char>(1u << Below(8));
            break;
        case 1: // an edge byte
            if (size)
                data[Below(static_cast<std::uint32_t>(size))] = static_cast<char>(kEdges[Below(sizeof kEdges)]);
            break;
        case 2: { // a 32-bit little-endian count made huge or odd
            if (size < 4)
                break;
            static const std::uint32_t kCounts[] = {0, 1, 15, 16, 99, 100, 4096, 4097, 0x7FFFFFFF, 0xFFFFFFFF, 65536};
            std::uint32_t value = kCounts[Below(sizeof kCounts / sizeof kCounts[0])];
            std::size_t at = Below(static_cast<std::uint32_t>(size - 3));
            for (int i = 0; i < 4; ++i)
                data[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
            break;
        }
        case 3: // cut short
            if (size)
                data.resize(Below(static_cast<std::uint32_t>(size)));
            break;
        case 4: { // a piece removed
            if (size < 2)
                break;
            std::size_t at = Below(static_cast<std::uint32_t>(size));
            data.erase(at, 1 + Below(static_cast<std::uint32_t>(std::min<std::size_t>(size - at, 64))));
            break;
        }
        case 5: { // a piece repeated
            if (!size)
                break;
            std::size_t at = Below(static_cast<std::uint32_t>(size));
            std::string piece = data.substr(at, 1 + Below(64));
            const int times = 1 + static_cast<int>(Below(4));
            for (int i = 0; i < times && data.size() < (1u << 20); ++i)
                data.insert(at, piece);
            break;
        }
        case 6: { // a piece of another seed
            const std::string& other = seeds[Below(static_cast<std::uint32_t>(seeds.size()))];
            if (other.empty())
                break;
            std::size_t from = Below(static_cast<std::uint32_t>(other.size()));
            data.insert(Below(static_cast<std::uint32_t>(size + 1)), other.substr(from, 1 + Below(128)));
            break;
        }
        case 7: // a random byte inserted
            data.insert(data.begin() + Below(static_cast<std::uint32_t>(size + 1)), static_cast<char>(Next() & 0xFF));
            break;
        default: { // a long run of one byte
            std::string run(1 + Below(5000), static_cast<char>(kEdges[Below(sizeof kEdges)]));
            data.insert(Below(static_cast<std::uint32_t>(size + 1)), run);
            break;
        }
        }
    }

    std::uint64_t m_state;
};

// Inputs per reader: D390_FUZZ_RUNS, else the given count (brief, so that
// every test run covers each reader).
inline int FuzzRuns(int brief)
{
    const char* text = std::getenv("D390_FUZZ_RUNS");
    int runs = text ? std::atoi(text) : 0;
    return runs > 0 ? runs : brief;
}
