#pragma once
// Builds memory images the way a radio keeps them, for round-trip tests.
//
// Every byte gets a value and a mask of the bits that DecodeImage followed by
// EncodeImage must give back unchanged. The bits outside the mask are the ones
// the program does not keep; `forced` holds what EncodeImage writes there.
// Bytes the radio does not use are filled with noise so that a codec that
// copied them by accident would be caught as well as one that lost data.

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "data/document.h"

namespace zrtest {

struct BuiltImage {
    zr::RadioImage image{};
    zr::RadioImage mask{};     // bits that must survive a round trip
    zr::RadioImage forced{};   // value of the other bits after EncodeImage
    int channels = 0;          // memory channels present
    bool vfo = false;
};

class RadioImageBuilder {
public:
    explicit RadioImageBuilder(uint32_t seed) : rng_(seed) {}

    BuiltImage build(bool threeDigitIds) {
        BuiltImage b;
        for (auto& x : b.image) x = byte();
        b.mask.fill(0xFF);
        b.forced.fill(0x00);
        img_ = &b;

        for (int n = 1; n <= 128; ++n) memoryChannel(n, chance(60));
        vfoSlot(chance(80));
        fmPresets();
        settings(threeDigitIds);
        identification();
        unused();

        if (threeDigitIds)
            for (int n = 1; n <= 129; ++n)  // the length byte of every channel becomes 3
                if (b.mask[slotBase(n) + 27] != 0) dropped(slotBase(n) + 27, 3);
        return b;
    }

private:
    std::mt19937 rng_;
    BuiltImage* img_ = nullptr;

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    uint8_t byte() { return static_cast<uint8_t>(uniform(0, 255)); }
    bool chance(int percent) { return uniform(0, 99) < percent; }
    static int slotBase(int n) { return n > 128 ? 4096 : (n - 1) * 32; }

    void set(int off, uint8_t v) { img_->image[off] = v; }
    // Byte not kept: EncodeImage writes `value` there.
    void dropped(int off, uint8_t value) {
        img_->mask[off] = 0;
        img_->forced[off] = value;
    }
    // Only the bits of `keep` are kept; the others become 0.
    void partly(int off, uint8_t keep) { img_->mask[off] = keep; }

    void setBit(int off, int bit, bool on) {
        if (on) img_->image[off] |= static_cast<uint8_t>(1u << bit);
        else img_->image[off] &= static_cast<uint8_t>(~(1u << bit));
    }

    // Printable text of up to `max` characters that does not end in a blank
    // (trailing blanks are trimmed by the program) and holds no 0x00 / 0xFF.
    std::string text(int minLen, int max) {
        std::string s(static_cast<std::size_t>(uniform(minLen, max)), ' ');
        for (auto& c : s) c = static_cast<char>(uniform(0x20, 0xFE));
        if (!s.empty() && s.back() == ' ') s.back() = 'Z';
        return s;
    }

    void slotContent(int n) {
        const int base = slotBase(n);
        auto at = [&](int i) { return base + i; };
        const int rxStep = uniform(0, 1), offStep = uniform(0, 1);
        // Frequencies and offsets that fit their 8 and 7 digit texts.
        const int R = uniform(0, rxStep ? 159999 : 199999);
        const int S = uniform(0, offStep ? 15999 : 19999);
        set(at(0), static_cast<uint8_t>(R >> 16));
        set(at(1), static_cast<uint8_t>(R >> 8));
        set(at(2), static_cast<uint8_t>(R));
        set(at(3), static_cast<uint8_t>(S >> 8));
        set(at(4), static_cast<uint8_t>(S));
        const int decType = uniform(0, 2), encType = uniform(0, 2);
        const int decInv = decType == 2 ? uniform(0, 1) : 0;
        const int encInv = encType == 2 ? uniform(0, 1) : 0;
        set(at(5), static_cast<uint8_t>(decType | uniform(0, 3) << 2 | uniform(0, 1) << 4 | offStep << 5 |
                                        rxStep << 6 | decInv << 7));
        // Byte 6 bit 2 is not used.
        set(at(6), static_cast<uint8_t>(encType | uniform(0, 1) << 2 | uniform(0, 1) << 3 | uniform(0, 2) << 4 |
                                        uniform(0, 1) << 6 | encInv << 7));
        partly(at(6), 0xFB);
        // Raw power 3 is rewritten as 2; a radio keeps 0..2 here.
        set(at(7), static_cast<uint8_t>(uniform(0, 2) | uniform(0, 3) << 2 | uniform(0, 3) << 4 |
                                        uniform(0, 1) << 6 | uniform(0, 1) << 7));
        // Byte 8: bandwidth in bits 5-4, DCS bit 8 in bit 0; byte 9 bit 0.
        set(at(8), static_cast<uint8_t>((byte() & 0xCE) | uniform(0, 3) << 4 | (decType == 2 ? uniform(0, 1) : 0)));
        partly(at(8), 0x31);
        set(at(9), static_cast<uint8_t>((byte() & 0xFE) | (encType == 2 ? uniform(0, 1) : 0)));
        partly(at(9), 0x01);
        dropped(at(10), 0);  // not used
        set(at(11), byte());
        set(at(12), decType == 1 ? static_cast<uint8_t>(uniform(0, 49)) : 0);
        set(at(13), encType == 1 ? static_cast<uint8_t>(uniform(0, 49)) : 0);
        set(at(14), decType == 2 ? byte() : 0);
        set(at(15), encType == 2 ? byte() : 0);
        if (n <= 128) {
            const std::string name = text(0, 6);
            for (int i = 0; i < 6; ++i)
                set(at(16 + i), i < static_cast<int>(name.size()) ? static_cast<uint8_t>(name[i]) : 0);
        } else {
            for (int i = 16; i < 22; ++i) dropped(at(i), 0);  // the VFO keeps no name
        }
        const int digits = uniform(3, 10);
        std::string id;
        for (int i = 0; i < digits; ++i) id += static_cast<char>('0' + uniform(0, 9));
        if (digits % 2) id += '0';
        for (int i = 0; i < 5; ++i)
            set(at(22 + i), 2 * i < static_cast<int>(id.size())
                                ? static_cast<uint8_t>((id[2 * i] - '0') << 4 | (id[2 * i + 1] - '0'))
                                : 0);
        set(at(27), static_cast<uint8_t>(digits));
        for (int i = 28; i < 32; ++i) dropped(at(i), 0);  // not used
    }

    void memoryChannel(int n, bool present) {
        const int byteOff = (n - 1) / 8, bit = (n - 1) % 8;
        setBit(4128 + byteOff, bit, !present);
        setBit(4144 + byteOff, bit, uniform(0, 1));
        if (present) {
            ++img_->channels;
            slotContent(n);
            return;
        }
        // An empty channel: its slot is written as zeros and its scan-skip bit
        // as set, whatever the radio held there.
        for (int i = 0; i < 32; ++i) dropped(slotBase(n) + i, 0);
        img_->mask[4144 + byteOff] &= static_cast<uint8_t>(~(1u << bit));
        img_->forced[4144 + byteOff] |= static_cast<uint8_t>(1u << bit);
    }

    void vfoSlot(bool present) {
        img_->vfo = present;
        if (present) {
            slotContent(129);
            return;
        }
        set(4096, 0xFF);  // R = FF FF FF: no VFO
        set(4097, 0xFF);
        set(4098, 0xFF);
        for (int i = 0; i < 32; ++i) dropped(4096 + i, 0);
    }

    void fmPresets() {
        for (int k = 0; k < 20; ++k) {
            const bool present = chance(50);
            setBit(4160 + k / 8, k % 8, !present);
            if (!present) {
                // Empty presets are written as four 0x00 bytes.
                for (int i = 0; i < 4; ++i) dropped(4192 + 4 * k + i, 0);
                continue;
            }
            for (int i = 0; i < 4; ++i) set(4192 + 4 * k + i, static_cast<uint8_t>(uniform(0, 9) << 4 | uniform(0, 9)));
        }
        // The last four bits of the FM presence bitmap are always 1.
        img_->mask[4162] = 0x0F;
        img_->forced[4162] = 0xF0;
        for (int i = 4163; i < 4176; ++i) dropped(i, 0xFF);
        const uint8_t fm905[] = {0x09, 0x05, 0x00, 0x00};  // written on every write
        for (int i = 0; i < 4; ++i) dropped(4176 + i, fm905[i]);
        for (int i = 4180; i < 4192; ++i) dropped(i, 0);
    }

    void dtmfCode(int off) {
        const int len = uniform(0, 16);
        for (int i = 0; i < 8; ++i) set(off + i, 0);
        for (int d = 0; d < len; ++d)
            img_->image[off + d / 2] |= static_cast<uint8_t>(uniform(0, 15) << (d % 2 ? 0 : 4));
        set(off + 8, static_cast<uint8_t>(len));
        for (int i = 9; i < 16; ++i) dropped(off + i, 0);  // bytes 9..15 are 0
    }

    void messageLine(int off) {
        const std::string line = text(0, 16);
        for (int i = 0; i < 16; ++i)
            set(off + i, i < static_cast<int>(line.size()) ? static_cast<uint8_t>(line[i]) : 0);
    }

    void settings(bool threeDigitIds) {
        // Optional features; unused bits become 0.
        partly(4275, 0xF9);
        partly(4277, 0x3F);
        set(4281, static_cast<uint8_t>(uniform(0, 15) << 4 | uniform(0, 3)));  // VoxLevel 0..3
        // Power-on text: any bytes but 0x00, trailing blanks allowed (they
        // come back as the blank padding).
        for (int i = 4672; i < 4686; ++i) set(i, static_cast<uint8_t>(uniform(1, 255)));
        dropped(4678, 0);
        dropped(4679, 0);
        // DTMF: bits 5-2 of 4608 are not used.
        set(4608, static_cast<uint8_t>((byte() & 0xBF) | (threeDigitIds ? 0x40 : 0)));
        partly(4608, 0xC3);
        for (int k = 0; k < 20; ++k) dtmfCode(4288 + 16 * k);
        // Alert: bits 7-4 of 4616 are not used.
        partly(4616, 0x0F);
        // Keys: the bytes between the key fields are 0.
        for (int gap : {4649, 4650, 4653, 4656, 4659, 4662, 4665}) dropped(gap, 0);
        for (int k = 0; k < 4; ++k) messageLine(4864 + 16 * k);
    }

    void identification() {
        const int codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 32};
        std::string model = text(1, 7);
        for (auto& c : model)
            if (c == ' ') c = '_';  // blanks would be trimmed from the end
        for (int i = 0; i < 7; ++i)
            set(5104 + i, i < static_cast<int>(model.size()) ? static_cast<uint8_t>(model[i]) : 0);
        set(5111, static_cast<uint8_t>(codes[uniform(0, 16)]));
        const char v100[] = "V100";  // firmware text: the write sends "V100"
        for (int i = 0; i < 4; ++i) dropped(5112 + i, static_cast<uint8_t>(v100[i]));
        for (int i = 5116; i < 5120; ++i) dropped(i, 0xFF);  // flags and 3 spare bytes
    }

    void unused() {
        for (int i = 4284; i < 4288; ++i) dropped(i, 0);
        for (int i = 4623; i < 4640; ++i) dropped(i, 0);
        dropped(4668, 0);
        dropped(4669, 0);
        for (int i = 4686; i < 4864; ++i) dropped(i, 0);
        for (int i = 4928; i < 5104; ++i) dropped(i, 0xFF);  // not read, not kept
    }
};

}  // namespace zrtest
