#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/replay/BufferedFile.h"
#include "core/replay/ByteOrder.h"

namespace movrane {

// Item types of the record stream.
enum ItemType : uint16_t {
    ITEM_PLAYER_CAR = 1,
    ITEM_PLAYER_CONTROLS = 2,
    ITEM_OTHER_CARS = 3,
    ITEM_RACE_STATUS = 9,
    ITEM_CAR_CONDITION = 10,
    ITEM_TIME_STAMP = 13,
    ITEM_FRAME_COUNTER = 14,
};

// Types 1..16 may stand in a stream; 0, 5, 7 and anything above 16 may not.
constexpr bool isAllowedItemType(uint16_t type) {
    constexpr uint32_t ALLOWED = 0x1FFFEu & ~(1u << 5) & ~(1u << 7);  // one bit per type
    return type <= 16 && (ALLOWED >> type & 1u) != 0;
}

// Bytes an item of the given length occupies: its length rounded up to a multiple of 4.
constexpr uint32_t occupiedItemSize(uint16_t length) {
    return (length % 4 == 0) ? length : length - (length % 4) + 4;
}

struct StreamFrame {
    uint64_t offset = 0;          // absolute file offset of the frame header
    uint16_t length = 0;          // header included
    uint16_t previousLength = 0;  // 0 for the first frame
    uint32_t word = 0;            // frame word (frame number in merged replays)
    uint64_t end() const { return offset + length; }
};

struct StreamItem {
    uint16_t type = 0;
    uint16_t length = 0;  // header included
    uint64_t offset = 0;  // absolute file offset of the item header
    uint16_t payloadLength() const { return static_cast<uint16_t>(length - 4); }
};

// The first 32-bit word of an item's payload; none when the payload is shorter.
inline std::optional<uint32_t> payloadWord(const StreamItem& item, const uint8_t* payload) {
    if (item.payloadLength() < 4) return std::nullopt;
    return readU32LE(payload);
}

// Why the walker stopped.
enum class WalkStatus {
    Ok,                 // the current frame or item is valid
    End,                // no more frames (or items in the current frame)
    ForbiddenItemType,  // an item of a type that may not stand in a stream
    Truncated,          // a frame or item runs past the end of the file
    BadLength,          // a length field contradicts the frame or stream around it
};

const char* walkStatusText(WalkStatus status);

// The one walk over the record stream that every scan uses. Frames are visited forward
// (nextFrame) or backward (previousFrame), or entered at a known offset (enterFrame);
// the items of the current frame are visited with nextItem. Every length is checked
// against the frame, the stream and the file before it is followed, so a damaged
// stream ends the walk with a status instead of a wild read or an endless loop.
class FrameWalker {
public:
    // streamChunk: offset of the stream chunk header; the stream's content size is read at +8.
    FrameWalker(BufferedFile& file, uint64_t streamChunk);

    uint64_t firstFrameOffset() const { return firstFrame_; }
    uint64_t streamEnd() const { return streamEnd_; }
    uint32_t declaredLength() const { return declaredLength_; }

    // The next frame (the first one on the first call); false at the stream's end or on damage.
    bool nextFrame() {
        // The common case, inline: a whole, well-formed frame follows inside the stream.
        if (haveFrame_ && !failed()) {
            const uint64_t next = frame_.end();
            const uint8_t* header = next + FRAME_HEADER_BYTES <= streamEnd_ ? file_.view(next, FRAME_HEADER_BYTES) : nullptr;
            if (header) {
                const uint16_t length = static_cast<uint16_t>(header[0] | (header[1] << 8));
                const uint16_t previous = static_cast<uint16_t>(header[2] | (header[3] << 8));
                const uint32_t word = static_cast<uint32_t>(header[4] | (header[5] << 8) | (header[6] << 16)) |
                                      (static_cast<uint32_t>(header[7]) << 24);
                const uint8_t* bytes = length >= FRAME_HEADER_BYTES && next + length <= streamEnd_ ? file_.view(next, length) : nullptr;
                if (bytes) {
                    frame_ = StreamFrame{next, length, previous, word};
                    frameBytes_ = bytes;
                    frameFill_ = file_.fillCount();
                    itemPosition_ = FRAME_HEADER_BYTES;
                    status_ = WalkStatus::Ok;
                    return true;
                }
            }
        }
        return nextFrameChecked();
    }
    bool previousFrame();
    bool enterFrame(uint64_t offset);

    // The next item of the current frame; false at the frame's end or on damage (status()).
    bool nextItem() {
        // The common cases, inline: the frame's end, or an item that lies whole inside a
        // frame still in the window.
        if (status_ != WalkStatus::Ok || !haveFrame_) return false;
        if (itemPosition_ >= frame_.length) {
            status_ = WalkStatus::End;
            return false;
        }
        if (frameFill_ == file_.fillCount() && itemPosition_ + ITEM_HEADER_BYTES <= frame_.length) {
            const uint8_t* header = frameBytes_ + itemPosition_;
            const uint16_t type = static_cast<uint16_t>(header[0] | (header[1] << 8));
            const uint16_t length = static_cast<uint16_t>(header[2] | (header[3] << 8));
            if (isAllowedItemType(type) && length >= ITEM_HEADER_BYTES && itemPosition_ + length <= frame_.length) {
                item_.type = type;
                item_.length = length;
                item_.offset = frame_.offset + itemPosition_;
                itemPosition_ += occupiedItemSize(length);
                return true;
            }
        }
        return nextItemChecked();
    }
    // Visits the remaining items of the current frame in order as visit(item, payload), the
    // payload (item.payloadLength() bytes) inside the file's window. The same walk as
    // nextItem, for scans that look at every item of every frame: the common case keeps the
    // frame's bytes and the position in registers. The walker's item() follows along, and
    // status() tells afterwards whether the frame ended or was damaged.
    template <class Visit>
    void forEachItem(Visit&& visit) {
        if (status_ == WalkStatus::Ok && haveFrame_) {
            const uint8_t* const bytes = frameBytes_;
            const uint32_t length = frame_.length;
            const uint64_t fill = frameFill_;
            uint32_t position = itemPosition_;
            while (position + ITEM_HEADER_BYTES <= length && fill == file_.fillCount()) {
                const uint8_t* header = bytes + position;
                const uint16_t type = static_cast<uint16_t>(header[0] | (header[1] << 8));
                const uint16_t itemLength = static_cast<uint16_t>(header[2] | (header[3] << 8));
                if (!isAllowedItemType(type) || itemLength < ITEM_HEADER_BYTES || position + itemLength > length) break;
                item_ = StreamItem{type, itemLength, frame_.offset + position};
                position += occupiedItemSize(itemLength);
                itemPosition_ = position;
                visit(item_, header + ITEM_HEADER_BYTES);
            }
        }
        // The frame's end, a refilled window and damage take the checked way.
        while (nextItem()) visit(item_, payloadView());
    }
    // Reads count bytes at offset `at` of the current item's payload; false when they lie
    // outside the item.
    bool readPayload(std::size_t at, void* dst, std::size_t count);
    bool readPayloadU32(std::size_t at, uint32_t& value);
    // The current item's payload (payloadLength() bytes) inside the file's window, for
    // scans that read every record of many items without copying them; valid until the
    // walker moves on. Null when there is no current item.
    const uint8_t* payloadView();

    const StreamFrame& frame() const { return frame_; }
    const StreamItem& item() const { return item_; }
    WalkStatus status() const { return status_; }
    bool failed() const { return status_ != WalkStatus::Ok && status_ != WalkStatus::End; }
    // File offset at which the walk failed (frame or item header).
    uint64_t failureOffset() const { return failureOffset_; }

private:
    static constexpr uint32_t ITEM_HEADER_BYTES = 4;
    static constexpr uint32_t FRAME_HEADER_BYTES = 8;

    bool nextFrameChecked();
    bool nextItemChecked();
    bool loadFrame(uint64_t offset);
    bool viewFrame();
    bool fail(WalkStatus status, uint64_t offset);

    BufferedFile& file_;
    uint64_t firstFrame_ = 0;
    uint64_t streamEnd_ = 0;
    uint32_t declaredLength_ = 0;
    bool haveFrame_ = false;
    StreamFrame frame_;
    StreamItem item_;
    uint32_t itemPosition_ = 0;  // offset of the next item inside the current frame
    const uint8_t* frameBytes_ = nullptr;  // the current frame inside the file's window
    uint64_t frameFill_ = 0;               // the window fill frameBytes_ belongs to
    WalkStatus status_ = WalkStatus::Ok;
    uint64_t failureOffset_ = 0;
};

}  // namespace movrane
