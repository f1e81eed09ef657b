#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/RegistryStore.h"

namespace movrane {

// Status codes of the last call, numbered as the registry numbers them.
enum RegStatus : long {
    REG_STATUS_SUCCESS = 0,
    REG_STATUS_NOT_FOUND = 2,
    REG_STATUS_INVALID_HANDLE = 6,
    REG_STATUS_INVALID_DATA = 13,
    REG_STATUS_WRITE_FAULT = 29,
    REG_STATUS_MORE_DATA = 234,
};

// A handle on one key of the persistent registry. Every call returns true on success
// and leaves its status, and for reads and writes the type and size of the value, for
// inspection. Values are typed as in the registry.
class CRegistry {
public:
    // Strings are read into a buffer of this many bytes, terminating zero included; a
    // longer value counts as missing. Writes refuse a string that could not be read
    // back, so the store never holds a value that would silently turn into a default.
    static constexpr uint32_t STRING_BUFFER = 200;
    // The largest binary value that is read (and therefore written).
    static constexpr uint32_t BINARY_LIMIT = 4096;

    CRegistry();  // on the store named by the environment
    explicit CRegistry(RegistryStore store);
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    bool openKey(RootKey root, const std::string& key);    // an existing key
    bool createKey(RootKey root, const std::string& key);  // creates it when needed and opens it
    void close();
    bool isOpen() const { return open_; }

    bool valueExists(const std::string& name);
    // 4-byte read; the stored type is ignored, a value longer than 4 bytes fails.
    bool readDword(const std::string& name, uint32_t& value);
    bool readString(const std::string& name, std::string& value);
    // A path, kept whole whatever its length: paths are not bound by the string buffer.
    bool readPath(const std::string& name, std::string& value);
    bool readBinary(const std::string& name, std::string& bytes);  // REG_BINARY only
    bool writeDword(const std::string& name, uint32_t value);
    bool writeString(const std::string& name, const std::string& value);
    bool writePath(const std::string& name, const std::string& value);
    bool writeBinary(const std::string& name, const std::string& bytes);
    bool deleteValue(const std::string& name);

    long status() const { return status_; }
    uint32_t lastType() const { return lastType_; }
    uint32_t lastSize() const { return lastSize_; }
    const std::string& keyName() const { return keyName_; }
    // The file the last value read came from.
    const std::string& lastSource() const { return lastSource_; }
    const RegistryStore& store() const { return store_; }

private:
    const RegValue* fetch(const std::string& name);
    bool write(RegValue value);
    bool readText(const std::string& name, std::string& value, std::size_t limit);
    bool writeText(const std::string& name, const std::string& value, std::size_t limit);
    bool finish(RegStatus status);

    RegistryStore store_;
    RootKey root_ = RootKey::CurrentUser;
    std::string keyName_;
    bool open_ = false;
    long status_ = REG_STATUS_SUCCESS;
    uint32_t lastType_ = REG_NONE;
    uint32_t lastSize_ = 0;
    std::string lastSource_;
    std::optional<StoredValue> fetched_;
};

}  // namespace movrane
