#include "core/platform/CRegistry.h"

namespace movrane {

CRegistry::CRegistry() : CRegistry(RegistryStore::fromEnvironment()) {}

CRegistry::CRegistry(RegistryStore store) : store_(std::move(store)) {}

CRegistry::~CRegistry() { close(); }

bool CRegistry::finish(RegStatus status) {
    status_ = status;
    return status == REG_STATUS_SUCCESS;
}

bool CRegistry::openKey(RootKey root, const std::string& key) {
    close();
    if (!store_.keyExists(root, key)) return finish(REG_STATUS_NOT_FOUND);
    root_ = root;
    keyName_ = key;
    open_ = true;
    return finish(REG_STATUS_SUCCESS);
}

bool CRegistry::createKey(RootKey root, const std::string& key) {
    close();
    if (!store_.createKey(root, key)) return finish(REG_STATUS_WRITE_FAULT);
    root_ = root;
    keyName_ = key;
    open_ = true;
    return finish(REG_STATUS_SUCCESS);
}

void CRegistry::close() {
    open_ = false;
    fetched_.reset();
}

const RegValue* CRegistry::fetch(const std::string& name) {
    fetched_.reset();
    if (!open_) {
        finish(REG_STATUS_INVALID_HANDLE);
        return nullptr;
    }
    fetched_ = store_.read(root_, keyName_, name);
    if (!fetched_) {
        finish(REG_STATUS_NOT_FOUND);
        return nullptr;
    }
    lastType_ = fetched_->value.type;
    lastSize_ = static_cast<uint32_t>(fetched_->value.data.size());
    lastSource_ = fetched_->source;
    return &fetched_->value;
}

bool CRegistry::valueExists(const std::string& name) { return fetch(name) && finish(REG_STATUS_SUCCESS); }

bool CRegistry::readDword(const std::string& name, uint32_t& value) {
    const RegValue* v = fetch(name);
    if (!v) return false;
    if (v->data.size() > 4) return finish(REG_STATUS_MORE_DATA);
    uint32_t result = 0;
    for (std::size_t i = v->data.size(); i-- > 0;) result = result << 8 | static_cast<unsigned char>(v->data[i]);
    value = result;
    return finish(REG_STATUS_SUCCESS);
}

bool CRegistry::readText(const std::string& name, std::string& value, std::size_t limit) {
    const RegValue* v = fetch(name);
    if (!v) return false;
    if (v->data.size() > limit) return finish(REG_STATUS_MORE_DATA);
    const std::size_t end = v->data.find('\0');
    value = v->data.substr(0, end);
    return finish(REG_STATUS_SUCCESS);
}

bool CRegistry::readString(const std::string& name, std::string& value) { return readText(name, value, STRING_BUFFER); }

bool CRegistry::readPath(const std::string& name, std::string& value) {
    return readText(name, value, std::string::npos);
}

bool CRegistry::readBinary(const std::string& name, std::string& bytes) {
    const RegValue* v = fetch(name);
    if (!v) return false;
    if (v->type != REG_BINARY) return finish(REG_STATUS_INVALID_DATA);
    if (v->data.size() > BINARY_LIMIT) return finish(REG_STATUS_MORE_DATA);
    bytes = v->data;
    return finish(REG_STATUS_SUCCESS);
}

bool CRegistry::write(RegValue value) {
    if (!open_) return finish(REG_STATUS_INVALID_HANDLE);
    lastType_ = value.type;
    lastSize_ = static_cast<uint32_t>(value.data.size());
    return finish(store_.write(root_, keyName_, std::move(value)) ? REG_STATUS_SUCCESS : REG_STATUS_WRITE_FAULT);
}

bool CRegistry::writeDword(const std::string& name, uint32_t value) { return write(RegValue::dword(name, value)); }

bool CRegistry::writeText(const std::string& name, const std::string& value, std::size_t limit) {
    if (value.size() >= limit || value.find('\0') != std::string::npos) return finish(REG_STATUS_INVALID_DATA);
    return write(RegValue::string(name, value));
}

bool CRegistry::writeString(const std::string& name, const std::string& value) {
    return writeText(name, value, STRING_BUFFER);
}

bool CRegistry::writePath(const std::string& name, const std::string& value) {
    return writeText(name, value, std::string::npos);
}

bool CRegistry::writeBinary(const std::string& name, const std::string& bytes) {
    if (bytes.size() > BINARY_LIMIT) return finish(REG_STATUS_INVALID_DATA);
    return write(RegValue::binary(name, bytes));
}

bool CRegistry::deleteValue(const std::string& name) {
    if (!open_) return finish(REG_STATUS_INVALID_HANDLE);
    if (!store_.read(root_, keyName_, name)) return finish(REG_STATUS_NOT_FOUND);
    return finish(store_.remove(root_, keyName_, name) ? REG_STATUS_SUCCESS : REG_STATUS_WRITE_FAULT);
}

}  // namespace movrane
