#include "core/replay/FrameWalker.h"

#include <algorithm>
#include <cstring>

#include "core/replay/ByteOrder.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

namespace {
constexpr uint32_t FRAME_HEADER_SIZE = 8;
constexpr uint32_t ITEM_HEADER_SIZE = 4;
}  // namespace

const char* walkStatusText(WalkStatus status) {
    switch (status) {
        case WalkStatus::Ok: return "ok";
        case WalkStatus::End: return "end of the record stream";
        case WalkStatus::ForbiddenItemType: return "an item of an unknown type";
        case WalkStatus::Truncated: return "a frame that runs past the end of the file";
        case WalkStatus::BadLength: return "a frame or item with an impossible length";
    }
    return "unknown";
}

FrameWalker::FrameWalker(BufferedFile& file, uint64_t streamChunk) : file_(file) {
    firstFrame_ = streamChunk + CHUNK_HEADER_SIZE;
    if (!file_.readU32At(streamChunk + 8, declaredLength_)) {
        declaredLength_ = 0;
        firstFrame_ = streamEnd_ = std::min<uint64_t>(firstFrame_, file_.size());
        return;
    }
    streamEnd_ = std::min<uint64_t>(firstFrame_ + declaredLength_, file_.size());
}

bool FrameWalker::fail(WalkStatus status, uint64_t offset) {
    status_ = status;
    failureOffset_ = offset;
    haveFrame_ = false;
    return false;
}

// Reads and checks the frame header at offset; the frame must lie inside the stream.
bool FrameWalker::loadFrame(uint64_t offset) {
    const bool pastFile = offset + FRAME_HEADER_SIZE > file_.size();
    if (offset < firstFrame_ || offset + FRAME_HEADER_SIZE > streamEnd_) {
        return fail(pastFile ? WalkStatus::Truncated : WalkStatus::BadLength, offset);
    }
    const uint8_t* header = file_.view(offset, FRAME_HEADER_SIZE);
    if (!header) return fail(WalkStatus::Truncated, offset);
    StreamFrame f;
    f.offset = offset;
    f.length = readU16LE(header);
    f.previousLength = readU16LE(header + 2);
    f.word = readU32LE(header + 4);
    if (f.length < FRAME_HEADER_SIZE) return fail(WalkStatus::BadLength, offset);
    if (f.end() > streamEnd_) {
        return fail(f.end() > file_.size() ? WalkStatus::Truncated : WalkStatus::BadLength, offset);
    }
    frame_ = f;
    haveFrame_ = true;
    itemPosition_ = FRAME_HEADER_SIZE;
    status_ = WalkStatus::Ok;
    return viewFrame();
}

// Items are read straight out of the file's window: the whole frame is viewed at once and
// viewed again only when the window was refilled since.
bool FrameWalker::viewFrame() {
    frameBytes_ = file_.view(frame_.offset, frame_.length);
    frameFill_ = file_.fillCount();
    return frameBytes_ ? true : fail(WalkStatus::Truncated, frame_.offset);
}

// Every case of the next frame: the first one, the stream's end, and damage.
bool FrameWalker::nextFrameChecked() {
    if (failed()) return false;
    const uint64_t next = haveFrame_ ? frame_.end() : firstFrame_;
    if (next >= streamEnd_) {
        // A stream whose declared end lies past the file's end was cut short.
        const bool cut = firstFrame_ + declaredLength_ > file_.size() && next < firstFrame_ + declaredLength_;
        if (cut) return fail(WalkStatus::Truncated, next);
        haveFrame_ = false;
        status_ = WalkStatus::End;
        return false;
    }
    return loadFrame(next);
}

bool FrameWalker::previousFrame() {
    if (failed() || !haveFrame_) return false;
    const uint16_t previousLength = frame_.previousLength;
    if (previousLength == 0 || frame_.offset < firstFrame_ + previousLength) {
        haveFrame_ = false;
        status_ = WalkStatus::End;
        return false;
    }
    const uint64_t here = frame_.offset;
    if (!loadFrame(here - previousLength)) return false;
    if (frame_.length != previousLength) return fail(WalkStatus::BadLength, here);
    return true;
}

bool FrameWalker::enterFrame(uint64_t offset) {
    status_ = WalkStatus::Ok;
    return loadFrame(offset);
}

// Every case of the next item: the end of the frame, a refilled window, and damage.
bool FrameWalker::nextItemChecked() {
    if (!haveFrame_ || status_ != WalkStatus::Ok) return false;
    if (itemPosition_ >= frame_.length) {
        status_ = WalkStatus::End;
        return false;
    }
    const uint64_t at = frame_.offset + itemPosition_;
    if (itemPosition_ + ITEM_HEADER_SIZE > frame_.length) return fail(WalkStatus::BadLength, at);
    if (frameFill_ != file_.fillCount() && !viewFrame()) return false;
    const uint8_t* header = frameBytes_ + itemPosition_;
    item_.type = readU16LE(header);
    item_.length = readU16LE(header + 2);
    item_.offset = at;
    if (!isAllowedItemType(item_.type)) return fail(WalkStatus::ForbiddenItemType, at);
    if (item_.length < ITEM_HEADER_SIZE || itemPosition_ + item_.length > frame_.length) {
        return fail(WalkStatus::BadLength, at);
    }
    itemPosition_ += occupiedItemSize(item_.length);
    return true;
}

bool FrameWalker::readPayload(std::size_t at, void* dst, std::size_t count) {
    if (!haveFrame_ || at > item_.payloadLength() || count > item_.payloadLength() - at) return false;
    if (frameFill_ != file_.fillCount() && !viewFrame()) return false;
    std::memcpy(dst, frameBytes_ + (item_.offset - frame_.offset) + ITEM_HEADER_SIZE + at, count);
    return true;
}

const uint8_t* FrameWalker::payloadView() {
    if (!haveFrame_ || (frameFill_ != file_.fillCount() && !viewFrame())) return nullptr;
    return frameBytes_ + (item_.offset - frame_.offset) + ITEM_HEADER_SIZE;
}

bool FrameWalker::readPayloadU32(std::size_t at, uint32_t& value) {
    uint8_t b[4];
    if (!readPayload(at, b, 4)) return false;
    value = readU32LE(b);
    return true;
}

}  // namespace movrane
