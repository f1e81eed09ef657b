#pragma once

#include <array>
#include <string>
#include <string_view>

namespace movrane {

// The lap-time upload is one HTTP POST of the lap-times file as a multipart form.
inline constexpr const char* ORVRANK_PATH = "/php-reg/user.php?submitTimes";
inline constexpr const char* ORVRANK_AGENT = "Movrane";
inline constexpr const char* ORVRANK_REFERRER = "MOVRN";

// Standard Base64 (RFC 4648 alphabet, "=" padding to a multiple of four characters).
std::string base64(std::string_view bytes);
// The Basic authorization token: user + ":" + password, in Base64.
std::string credentialsToken(std::string_view user, std::string_view password);

// The two headers the request adds, each without its line end: the multipart content
// type with its boundary, and the Basic authorization.
std::array<std::string, 2> orvRankHeaders(const std::string& token);
// The multipart body around the whole upload file, byte for byte.
std::string orvRankBody(std::string_view uploadFile);

// "HOST[:PORT]" split into its host name and the whole address the URL uses.
struct OrvRankHost {
    std::string name;     // for the transcript
    std::string address;  // name and port as configured
};
OrvRankHost parseOrvRankHost(std::string_view hostAndPort);
// "http://" + address + the service's path.
std::string orvRankUrl(const OrvRankHost& host);

}  // namespace movrane
