#include "core/ranking/OrvRankRequest.h"

#include <cstdint>

namespace movrane {

namespace {

constexpr char BASE64_ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char BOUNDARY[] = "---------------------------7d217c540366";
// A part delimiter is two hyphens and the boundary.
const std::string DELIMITER = std::string("--") + BOUNDARY;

}  // namespace

std::string base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
        if (left > 1) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (left > 2) group |= static_cast<uint8_t>(bytes[i + 2]);
        out += BASE64_ALPHABET[group >> 18 & 63];
        out += BASE64_ALPHABET[group >> 12 & 63];
        out += left > 1 ? BASE64_ALPHABET[group >> 6 & 63] : '=';
        out += left > 2 ? BASE64_ALPHABET[group & 63] : '=';
    }
    return out;
}

std::string credentialsToken(std::string_view user, std::string_view password) {
    std::string joined(user);
    joined += ':';
    joined += password;
    return base64(joined);
}

std::array<std::string, 2> orvRankHeaders(const std::string& token) {
    return {std::string("Content-Type: multipart/form-data; boundary=") + BOUNDARY, "Authorization: Basic " + token};
}

std::string orvRankBody(std::string_view uploadFile) {
    std::string body;
    body.reserve(uploadFile.size() + 3000);
    body += DELIMITER + "\r\n";
    body += "Content-Disposition: form-data; name=\"MAX_FILE_SIZE\"\r\n\r\n65535\r\n";
    body += DELIMITER + "\r\n";
    body += "Content-Disposition: form-data; name=\"submitfile\"; filename=\"Uploaded_via_MOVRN\"\r\n";
    body += "Content-Type: application/octet-stream\r\n\r\n";
    body += uploadFile;
    body += "\r\n" + DELIMITER + "--\r\n";
    return body;
}

OrvRankHost parseOrvRankHost(std::string_view hostAndPort) {
    OrvRankHost host{std::string(hostAndPort), std::string(hostAndPort)};
    const std::size_t colon = hostAndPort.rfind(':');
    if (colon != std::string_view::npos && hostAndPort.find(']', colon) == std::string_view::npos)
        host.name = std::string(hostAndPort.substr(0, colon));
    return host;
}

std::string orvRankUrl(const OrvRankHost& host) { return "http://" + host.address + ORVRANK_PATH; }

}  // namespace movrane
