#include "samplekit/Simulator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <stdexcept>

#include "samplekit/CarRecords.h"
#include "samplekit/Units.h"

namespace samplekit {

namespace {
constexpr double DT = 1.0 / 36.0;
constexpr double DEG = 180.0 / std::numbers::pi;
constexpr int MAX_LAPS = 149;  // lap tables hold the base word and 149 laps
constexpr uint32_t MAX_SESSION_FRAMES = 36u * 3600u * 6u;

// Item types.
constexpr uint16_t T_PLAYER = 1, T_CONTROLS = 2, T_OTHERS = 3, T_STATUS = 9, T_CONDITION = 10, T_STAMP = 13,
                   T_COUNTER = 14;

// Gear ratios in rpm per km/h, gears 1..5.
constexpr std::array<double, 5> GEAR_RPM_PER_KMH = {95.0, 68.0, 52.0, 42.0, 35.2};
constexpr double REV_LIMIT = 9600;
constexpr double IDLE_RPM = 2600;

// Deterministic random numbers (splitmix64), identical on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return (next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Approximately normal: sum of four uniforms, scaled to unit variance.
    double gauss() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508075688772; }

private:
    uint64_t state_;
};

double wrap(double d, double length) {
    double r = std::fmod(d, length);
    return r < 0 ? r + length : r;
}

// Lateral offset of a racing line along the lap, sampled per metre: towards the outside
// before and after each bend, on the inside at its apex.
std::vector<double> racingLine(const Course& course) {
    const double L = course.lapLength();
    const std::size_t n = static_cast<std::size_t>(std::ceil(L));
    std::vector<double> k(n);
    for (std::size_t i = 0; i < n; ++i) k[i] = course.curvatureAt(static_cast<double>(i));

    struct Bend { double mid, half; int sign; };
    std::vector<Bend> bends;
    auto bendSign = [&](std::size_t i) { return std::fabs(k[i]) < 1e-3 ? 0 : (k[i] > 0 ? 1 : -1); };
    // Start the search where no bend is, so a bend across the line is found whole.
    std::size_t origin = 0;
    while (origin < n && bendSign(origin) != 0) ++origin;
    if (origin == n) origin = 0;
    for (std::size_t j = 0; j < n;) {
        const std::size_t i = (origin + j) % n;
        const int s = bendSign(i);
        if (s == 0) { ++j; continue; }
        std::size_t len = 0;
        while (j + len < n && bendSign((origin + j + len) % n) == s) ++len;
        bends.push_back({wrap(static_cast<double>(i) + len / 2.0, L), len / 2.0, s});
        j += len;
    }
    std::vector<double> line(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double d = static_cast<double>(i);
        const LateralLimits lim = course.limitsAt(d);
        const double width = 0.75 * std::min(-lim.right, lim.left);
        double lat = 0;
        for (const Bend& b : bends) {
            double x = d - b.mid;
            if (x > L / 2) x -= L;
            if (x < -L / 2) x += L;
            const double reach = b.half + 110.0;
            const double u = x / reach;
            if (std::fabs(u) < 1) lat += b.sign * width * std::cos(1.5 * std::numbers::pi * u) * (1 - u * u);
        }
        line[i] = std::clamp(lat, 0.8 * lim.right, 0.8 * lim.left);
    }
    return line;
}

// Highest speed at each metre for a car of the given top speed and grip, with braking and
// acceleration limits, around the closed lap.
std::vector<float> speedProfile(const Course& course, double vmax, double grip) {
    const std::size_t n = static_cast<std::size_t>(std::ceil(course.lapLength()));
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double k = std::fabs(course.curvatureAt(static_cast<double>(i)));
        v[i] = k > 1e-6 ? std::min(vmax, std::sqrt(grip / k)) : vmax;
    }
    const double brake = 0.75 * grip;
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t j = n; j-- > 0;) {
            const double ahead = v[(j + 1) % n];
            v[j] = std::min(v[j], std::sqrt(ahead * ahead + 2 * brake));
        }
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t j = 0; j < n; ++j) {
            const double behind = v[(j + n - 1) % n];
            const double accel = 6.5 * std::max(0.15, 1.0 - behind / (vmax * 1.05));
            v[j] = std::min(v[j], std::sqrt(behind * behind + 2 * accel));
        }
    return std::vector<float>(v.begin(), v.end());
}

double lookup(const std::vector<double>& perMetre, double d) {
    const std::size_t n = perMetre.size();
    const double x = wrap(d, static_cast<double>(n));
    const std::size_t i = static_cast<std::size_t>(x) % n;
    const double f = x - std::floor(x);
    return perMetre[i] * (1 - f) + perMetre[(i + 1) % n] * f;
}

constexpr int SHIFT_NEUTRAL_FRAMES = 2;

int gearFor(double kmh) {
    for (std::size_t g = 0; g < GEAR_RPM_PER_KMH.size(); ++g)
        if (kmh * GEAR_RPM_PER_KMH[g] <= REV_LIMIT) return static_cast<int>(g) + 1;
    return static_cast<int>(GEAR_RPM_PER_KMH.size());
}

}  // namespace

double frameTimeMs(uint32_t clockStartMs, uint32_t frame) { return clockStartMs + frame * (1000.0 / 36.0); }

// One car during one session.
struct Car {
    int driver = 0;
    uint32_t slot = 0;
    bool player = false;
    bool taking = false;  // takes part in the session
    std::vector<float> profile;
    double laneOffset = 0, laneDrift = 0;
    double d = 0, v = 0, accel = 0;
    double lateral = 0, heading = 0, yaw = 0;
    double lapFactor = 1;
    int crossings = 0;
    bool done = false;
    double doneMs = 0;
    bool retiring = false, retired = false, gone = false;
    double stoppedFor = 0, sinceDone = 0;
    const Retirement* retirement = nullptr;
    bool offTrackLap = false;
    double travelled = 0;
    double oilT = 88, waterT = 80, fuelP = 62;
    std::array<uint8_t, 14> condition{}, conditionSent{};
    CarResult* result = nullptr;
    double rpm = IDLE_RPM;
    int gear = 0;
    int shiftFrames = 0;  // frames left in neutral during a gear change
    // Randomness of what does not change the driving (lane drift, engine noise), kept apart
    // so the first pass can leave it out and still drive exactly as the second.
    Rng look{0};
};

struct Simulation::Run {
    Simulation& sim;
    ReplayWriter* writer;
    const Course& course;
    Rng rng;
    double L;
    uint32_t globalFrame = 0;
    SimulationResult out;
    Frame frame_;                  // reused from frame to frame
    std::vector<uint8_t> others_;  // records of the other cars item

    Run(Simulation& s, ReplayWriter* w)
        : sim(s), writer(w), course(*s.course_), rng(s.spec_.seed), L(s.course_->lapLength()) {}

    uint32_t markFlags(const SessionSpec& plan, int driver, int lap) const {
        uint32_t f = 0;
        for (const LapMark& m : plan.marks)
            if (m.driver == driver && m.lap == lap) f |= m.flags;
        return f;
    }

    bool absent(const SessionSpec& plan, int driver, uint32_t frame) const {
        for (const Absence& a : plan.absences)
            if (a.driver == driver && frame >= a.firstFrame && frame - a.firstFrame < a.frameCount) return true;
        return false;
    }

    void newLap(Car& c, const SessionSpec& plan) {
        c.lapFactor = 1.0 + 0.004 * rng.gauss();
        if (rng.uniform() < 0.08) c.lapFactor -= rng.range(0.015, 0.04);  // a scrappy lap
        c.offTrackLap = (markFlags(plan, c.driver, c.crossings) & FLAG_OFF_TRACK) != 0;
    }

    void cross(Car& c, const SessionSpec& plan, double timeMs, SessionResult& session) {
        CarResult& r = *c.result;
        r.crossings.push_back(timeMs);
        if (c.crossings > 0) r.flags.push_back(markFlags(plan, c.driver, c.crossings));
        ++c.crossings;
        const int completed = c.crossings - 1;
        if (plan.kind == SessionSpec::Practice) {
            if (completed >= plan.laps || completed >= MAX_LAPS) c.done = true;
        } else {
            if (session.chequeredMs > 0 || completed >= plan.laps || completed >= MAX_LAPS) {
                if (session.chequeredMs == 0) session.chequeredMs = timeMs;
                c.done = true;
            }
            // Tyres wear now and then.
            if (completed > 0 && rng.uniform() < 0.12) {
                const int wheel = static_cast<int>(rng.next() % 4);
                uint8_t& tyres = c.condition[9 - 2];
                const int field = (tyres >> (2 * wheel)) & 3;
                if (field < 2) tyres = static_cast<uint8_t>((tyres & ~(3 << (2 * wheel))) | ((field + 1) << (2 * wheel)));
            }
        }
        if (c.done) c.doneMs = timeMs;
        newLap(c, plan);
    }

    // Advances a car by one frame; the frame ends at nowMs.
    void step(Car& c, const SessionSpec& plan, SessionResult& session, uint32_t frame, double prevMs, double nowMs) {
        if (!c.taking || c.gone) return;
        const bool race = plan.kind == SessionSpec::Race;
        const double v0 = c.v;
        double target = 0;
        if (race && frame <= session.greenFrame) {
            target = 0;  // on the grid
        } else {
            target = lookup_profile(c) * c.lapFactor;
            if (c.done) {
                target *= race ? 0.55 : 0.5;
                c.sinceDone += DT;
                if (!race && !c.player && c.sinceDone > 20) { c.gone = true; return; }
            }
            const double f = c.d / L;
            if (c.offTrackLap && f > 0.40 && f < 0.47) target *= 0.6;
            if (c.retirement && !c.retiring && c.crossings == c.retirement->lap && f >= c.retirement->fraction) {
                c.retiring = true;
                c.condition[12 - 2] = c.retirement->reason == 16 ? 63 : 0;
                c.condition[13 - 2] = c.retirement->reason;
                c.condition[14 - 2] = 16;
            }
            if (c.retiring) target = 0;
        }
        if (target > c.v) {
            const double a = 7.0 * std::max(0.1, 1.0 - c.v / 85.0);
            c.v = std::min(target, c.v + a * DT);
        } else {
            c.v = std::max(target, c.v - (c.retiring ? 6.0 : 13.0) * DT);
        }
        c.accel = (c.v - v0) / DT;
        if (c.retiring && c.v == 0) {
            c.stoppedFor += DT;
            if (!c.retired) {
                c.retired = true;
                c.result->retired = true;
            }
            if (!c.player && c.stoppedFor > 12) { c.gone = true; return; }
        }
        const double moved = c.v * DT;
        double nd = c.d + moved;
        c.travelled += moved;
        if (nd >= L) {
            const double frac = moved > 0 ? (L - c.d) / moved : 1.0;
            nd -= L;
            c.d = nd;
            cross(c, plan, prevMs + frac * (nowMs - prevMs), session);
        } else {
            c.d = nd;
        }
        if (writer) appearance(c, session, frame);
    }

    // Lateral position, heading, engine and temperatures: what the records show besides
    // the distance driven.
    void appearance(Car& c, const SessionResult& session, uint32_t frame) {
        const bool race = session.kind == SessionSpec::Race;
        const double moved = c.v * DT;
        // Lateral position: the racing line plus the car's own lane, or off the track.
        const LateralLimits lim = course.limitsAt(c.d);
        double want = lookup(sim.line_, c.d) + c.laneOffset + c.laneDrift;
        const double f = c.d / L;
        if (c.offTrackLap && f > 0.41 && f < 0.45) want = lim.left + 3.0;
        else want = std::clamp(want, lim.right + 0.8, lim.left - 0.8);
        c.laneDrift = std::clamp(c.laneDrift + 0.05 * c.look.gauss() * std::min(1.0, c.v / 10), -0.8, 0.8);
        const double oldLateral = c.lateral;
        if (c.v > 0.1) c.lateral += (want - c.lateral) * std::min(1.0, DT * 2.5);
        const double dLat = c.lateral - oldLateral;
        if (moved > 1e-3) c.yaw = std::atan2(dLat, moved) * DEG;
        c.heading = course.headingAt(c.d) + c.yaw;

        // Engine and temperatures.
        const double kmh = c.v * 3.6;
        if (race && frame <= session.greenFrame) {
            c.gear = 1;
            c.rpm = frame + 72 >= session.greenFrame ? 7000 + 300 * c.look.gauss() : IDLE_RPM + 100 * c.look.gauss();
        } else if (c.v < 0.5) {
            c.gear = 0;
            c.rpm = c.retired ? 0 : IDLE_RPM;
        } else {
            // A gear change passes through neutral for a few frames, as a real gearbox does.
            const int wanted = gearFor(kmh);
            if (c.shiftFrames > 0) {
                if (--c.shiftFrames == 0) c.gear = wanted;
            } else if (c.gear > 0 && wanted != c.gear) {
                c.gear = 0;
                c.shiftFrames = SHIFT_NEUTRAL_FRAMES;
            } else {
                c.gear = wanted;
            }
            c.rpm = std::max(IDLE_RPM, kmh * GEAR_RPM_PER_KMH[static_cast<std::size_t>(wanted - 1)]);
        }
        const double load = c.rpm / REV_LIMIT;
        c.oilT += (92 + 14 * load - c.oilT) * 0.0004;
        c.waterT += (84 + 8 * load - c.waterT) * 0.0003;
        c.fuelP = 62 + 3 * load + 0.4 * c.look.gauss();
    }

    double lookup_profile(const Car& c) const {
        const std::size_t n = c.profile.size();
        const double x = wrap(c.d, static_cast<double>(n));
        const std::size_t i = static_cast<std::size_t>(x) % n;
        const double f = x - std::floor(x);
        return c.profile[i] * (1 - f) + c.profile[(i + 1) % n] * f;
    }

    PlayerCarFields playerFields(const Car& c) {
        PlayerCarFields p;
        p.lapPosition = encodeLapDistance(c.d);
        p.gearCode = encodeGear(c.gear);
        p.lateral = encodePlayerLateral(c.lateral);
        const double latG = c.v * c.v * course.curvatureAt(c.d) / 9.81;
        const double longG = c.accel / 9.81;
        p.rideHeight = encodePlayerRideHeight(0.065 - 0.006 * longG - 0.004 * std::fabs(latG));
        p.engineSpeed = encodeEngineSpeed(c.rpm);
        p.orientation = encodeHeading(c.heading);
        p.pitch = static_cast<int32_t>(clampSigned(std::lround(-longG * 30), 10));
        p.roll = static_cast<int32_t>(clampSigned(std::lround(latG * 25), 10));
        p.tyreSqueal = static_cast<uint32_t>(clampUnsigned(std::lround((std::fabs(latG) - 1.1) * 150), 7));
        const double throttle = c.accel > 0.3 ? std::min(1.0, 0.4 + c.accel / 6) : (c.accel < -1 ? 0.0 : 0.45);
        p.controlValue = encodePlayerControlValue(throttle);
        p.steering = encodeSteering(std::atan(2.3 * course.curvatureAt(c.d)) * DEG * 2.0);
        const uint32_t turn = static_cast<uint32_t>(std::fmod(c.travelled / (2 * std::numbers::pi * 0.3), 1.0) * 1024);
        p.wheelValue1 = p.wheelValue2 = turn & 1023;
        p.wheelValue3 = p.wheelValue4 = (turn + 37) & 1023;
        const int32_t base = 40;
        const int32_t pitchPart = static_cast<int32_t>(std::lround(longG * 12));
        const int32_t rollPart = static_cast<int32_t>(std::lround(latG * 10));
        p.suspension1 = base - pitchPart - rollPart;
        p.suspension2 = base - pitchPart + rollPart;
        p.suspension3 = base + pitchPart - rollPart;
        p.suspension4 = base + pitchPart + rollPart;
        p.oilPressure = static_cast<uint32_t>(clampUnsigned(std::lround(c.rpm > 0 ? 45 + 35 * c.rpm / REV_LIMIT : 0), 7));
        return p;
    }

    PlayerControlsFields controlsFields(const Car& c) {
        PlayerControlsFields k;
        k.oilTemperature = static_cast<uint32_t>(clampUnsigned(std::lround(c.oilT), 7));
        k.waterTemperature = static_cast<uint32_t>(clampUnsigned(std::lround(c.waterT), 7));
        k.fuelPressure = static_cast<uint32_t>(clampUnsigned(std::lround(c.fuelP), 7));
        return k;
    }

    OtherCarFields otherFields(const Car& c) {
        OtherCarFields o;
        o.counter = globalFrame & 1023;
        const double latG = c.v * c.v * course.curvatureAt(c.d) / 9.81;
        const double longG = c.accel / 9.81;
        o.pitch = static_cast<int32_t>(clampSigned(std::lround(-longG * 30), 10));
        o.engineSpeed = encodeEngineSpeed(c.rpm);
        o.lapPosition = encodeLapDistance(c.d);
        o.slot = c.slot & 0x3F;
        o.lateral = encodeOtherLateral(c.lateral);
        const double throttle = c.accel > 0.3 ? std::min(1.0, 0.4 + c.accel / 6) : (c.accel < -1 ? 0.0 : 0.45);
        o.controlValue = encodeOtherControlValue(throttle);
        o.rideHeight = encodeOtherRideHeight(0.065 - 0.006 * longG - 0.004 * std::fabs(latG));
        o.steering = encodeSteering(std::atan(2.3 * course.curvatureAt(c.d)) * DEG * 2.0);
        o.orientation = encodeHeading(c.heading);
        o.roll = static_cast<int32_t>(clampSigned(std::lround(latG * 25), 10));
        o.gearCode = encodeGear(c.gear);
        return o;
    }

    // A driver's best valid lap (ms) in the practice sessions run so far.
    std::optional<double> bestPracticeLap(int driver) const {
        std::optional<double> best;
        for (const SessionResult& session : out.sessions) {
            if (session.kind != SessionSpec::Practice) continue;
            for (const CarResult& car : session.cars) {
                if (car.driver != driver) continue;
                for (std::size_t k = 0; k + 1 < car.crossings.size(); ++k) {
                    if (k < car.flags.size() && (car.flags[k] & FLAG_INVALID)) continue;
                    const double lap = car.crossings[k + 1] - car.crossings[k];
                    if (!best || lap < *best) best = lap;
                }
            }
        }
        return best;
    }

    void setupCars(std::vector<Car>& cars, const SessionSpec& plan, SessionResult& session) {
        const SimulationSpec& s = sim.spec_;
        cars.assign(s.drivers.size(), Car{});
        std::vector<int> takers = plan.drivers;
        if (takers.empty())
            for (std::size_t i = 0; i < s.drivers.size(); ++i) takers.push_back(static_cast<int>(i));
        std::vector<std::pair<double, int>> order;
        for (int i : takers) {
            if (i < 0 || static_cast<std::size_t>(i) >= cars.size()) throw std::invalid_argument("session driver out of range");
            Car& c = cars[static_cast<std::size_t>(i)];
            c.driver = i;
            c.slot = s.drivers[static_cast<std::size_t>(i)].slot;
            c.player = static_cast<uint32_t>(i) == s.player;
            c.taking = true;
            // Per-car pace: top speed and grip, fixed for the driver over all sessions.
            Rng pace(s.seed * 1000003u + static_cast<uint64_t>(i) * 7919u + 17u);
            const double talent = pace.range(0.955, 1.0);
            c.profile = speedProfile(course, 76.0 * pace.range(0.97, 1.01), 15.5 * talent);
            c.laneOffset = pace.range(-0.6, 0.6);
            c.look = Rng(s.seed * 31u + static_cast<uint64_t>(i) * 104729u + session.sessionId);
            c.oilT = 86 + 3 * c.look.uniform();
            c.waterT = 78 + 3 * c.look.uniform();
            for (const Retirement& r : plan.retirements)
                if (r.driver == i) c.retirement = &r;
            session.cars.push_back(CarResult{i, c.slot, {}, {}, false, 0});
            const double drawn = talent + 0.01 * rng.gauss();
            const auto best = bestPracticeLap(i);
            // A race grid follows the practice times of the same replay when there are any.
            order.push_back({plan.kind == SessionSpec::Race && best ? -*best : drawn, i});
        }
        for (std::size_t k = 0; k < session.cars.size(); ++k)
            cars[static_cast<std::size_t>(session.cars[k].driver)].result = &session.cars[k];
        std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first > b.first; });
        for (std::size_t rank = 0; rank < order.size(); ++rank) {
            Car& c = cars[static_cast<std::size_t>(order[rank].second)];
            if (plan.kind == SessionSpec::Race) {
                c.d = L - 10.0 - 7.5 * static_cast<double>(rank);
                c.lateral = rank % 2 == 0 ? 2.5 : -2.5;
                c.v = 0;
            } else {
                c.d = L * (0.55 + 0.40 * (static_cast<double>(rank) + 0.5) / static_cast<double>(order.size()));
                c.lateral = lookup(sim.line_, c.d);
                c.v = lookup_profile(c) * 0.9;
            }
            c.d = wrap(c.d, L);
            c.heading = course.headingAt(c.d);
            newLap(c, plan);
        }
    }

    void emitFrame(std::vector<Car>& cars, const SessionSpec& plan, uint32_t frame, double nowMs, uint16_t status,
                   bool statusChanged, bool lastOfStream) {
        Frame& fr = frame_;
        fr.clear();
        fr.setWord(globalFrame + 1);
        const bool stampFrame = frame % 36 == 0;
        if (stampFrame || lastOfStream) fr.addU32Item(T_COUNTER, globalFrame + 1);
        if (stampFrame) {
            const uint32_t hundredths = static_cast<uint32_t>(std::llround(nowMs / 10.0));
            fr.addU32Item(T_STAMP, (hundredths << 8) | plan.sessionId);
        }
        if (plan.kind == SessionSpec::Race && (stampFrame || statusChanged))
            fr.addU32Item(T_STATUS, static_cast<uint32_t>(status) << 16);

        std::vector<uint8_t>& others = others_;
        others.clear();
        for (Car& c : cars) {
            if (!c.taking || c.gone || absent(plan, c.driver, frame)) continue;
            c.result->lastPresentFrame = frame;
            if (c.player) {
                fr.addItem(T_PLAYER, encodePlayerCar(playerFields(c)));
                fr.addItem(T_CONTROLS, encodePlayerControls(controlsFields(c)));
            } else {
                const auto rec = encodeOtherCar(otherFields(c));
                others.insert(others.end(), rec.begin(), rec.end());
            }
        }
        if (!others.empty()) fr.addItem(T_OTHERS, others.data(), others.size());

        if (sim.spec_.conditionItems) {
            int sent = 0;
            for (Car& c : cars) {
                if (!c.taking || c.gone || sent >= 2) continue;
                if (c.condition != c.conditionSent) {
                    fr.addItem(T_CONDITION, encodeCarCondition(c.slot, c.condition));
                    c.conditionSent = c.condition;
                    ++sent;
                }
            }
            if (frame % 180 == 90 && !cars.empty()) {
                Car& c = cars[(frame / 180) % cars.size()];
                if (c.taking && !c.gone) fr.addItem(T_CONDITION, encodeCarCondition(c.slot, c.condition));
            }
        }
        if (sim.spec_.skippableItems) {
            if (frame % 36 == 18) fr.addRawItem(4, 12, {static_cast<uint8_t>(frame), 0, 1, 0});
            if (frame % 72 == 5) fr.addRawItem(8, 10, {1, 2, 3, 4, 5, 6});
            if (frame % 360 == 100) {
                fr.addRawItem(11, 8, {0, 0, 0, 1});
                fr.addRawItem(12, 16);
            }
            if (frame % 720 == 300) {
                fr.addRawItem(6, 8);
                fr.addRawItem(15, 4);
                fr.addRawItem(16, 12);
            }
        }
        if (sim.spec_.extraItems) sim.spec_.extraItems(fr, out.sessions.size() - 1, frame);
        writer->writeFrame(fr);
    }

    void runSession(const SessionSpec& plan, bool lastSession) {
        if (plan.clockStartMs % 10 != 0) throw std::invalid_argument("session clock must start on 10 ms");
        SessionResult session;
        session.kind = plan.kind;
        session.sessionId = plan.sessionId;
        session.clockStartMs = plan.clockStartMs;
        session.firstFrame = globalFrame;
        const bool race = plan.kind == SessionSpec::Race;
        const uint32_t liningFrames = static_cast<uint32_t>(std::lround(plan.liningUpSeconds * 36));
        const uint32_t raisedFrames = static_cast<uint32_t>(std::lround(plan.greenRaisedSeconds * 36));
        session.greenFrame = race ? liningFrames + raisedFrames : 0;
        const uint32_t tailFrames = static_cast<uint32_t>(std::lround(std::max(2.0, plan.tailSeconds) * 36));

        // The result's car list must not move while cars point into it.
        out.sessions.push_back(std::move(session));
        SessionResult& s = out.sessions.back();
        std::vector<Car> cars;
        setupCars(cars, plan, s);

        uint16_t status = 0;
        uint32_t allDoneFrame = 0;
        bool allDone = false;
        for (uint32_t frame = 0;; ++frame) {
            if (frame >= MAX_SESSION_FRAMES) throw std::runtime_error("session does not end");
            const double nowMs = frameTimeMs(plan.clockStartMs, frame);
            if (frame > 0) {
                const double prevMs = frameTimeMs(plan.clockStartMs, frame - 1);
                for (Car& c : cars) step(c, plan, s, frame, prevMs, nowMs);
            }
            uint16_t newStatus = 0;
            if (race) {
                if (frame < liningFrames) newStatus = STATUS_LINING_UP;
                else if (frame + 36 < s.greenFrame) newStatus = STATUS_GREEN_RAISED;
                else if (frame < s.greenFrame) newStatus = STATUS_GREEN_ARMED;
                else if (frame < s.greenFrame + 36) newStatus = STATUS_GREEN_DROPS;
                else newStatus = STATUS_RACING;
                if (s.chequeredMs > 0) newStatus = STATUS_CHEQUERED;
            }
            const bool changed = newStatus != status;
            status = newStatus;
            if (!allDone) {
                allDone = std::all_of(cars.begin(), cars.end(),
                                      [](const Car& c) { return !c.taking || c.done || c.retired; });
                if (allDone) allDoneFrame = frame;
            }
            const bool last = allDone && frame >= allDoneFrame + tailFrames;
            if (writer) emitFrame(cars, plan, frame, nowMs, status, changed, last && lastSession);
            ++globalFrame;
            if (last) {
                s.frameCount = frame + 1;
                if (lastSession) out.lastFrameCounter = globalFrame;
                break;
            }
        }
    }
};

Simulation::Simulation(SimulationSpec plan) : spec_(std::move(plan)) {
    course_ = spec_.course ? spec_.course : std::make_shared<LoopCourse>(spec_.lapLength);
    if (spec_.drivers.empty() || spec_.drivers.size() > 20) throw std::invalid_argument("a simulation has 1 to 20 drivers");
    if (spec_.sessions.empty()) throw std::invalid_argument("a simulation needs a session");
    line_ = racingLine(*course_);
}

Simulation::~Simulation() = default;

SimulationResult Simulation::run(ReplayWriter* writer) {
    Run r(*this, writer);
    for (std::size_t i = 0; i < spec_.sessions.size(); ++i) r.runSession(spec_.sessions[i], i + 1 == spec_.sessions.size());
    r.out.frames = r.globalFrame;
    for (SessionResult& s : r.out.sessions) {
        s.table.tag = s.kind == SessionSpec::Race ? "BTPL" : spec_.practiceTableTag;
        std::vector<const CarResult*> bySlot;
        for (const CarResult& c : s.cars)
            if (!c.crossings.empty()) bySlot.push_back(&c);
        std::sort(bySlot.begin(), bySlot.end(), [](auto* a, auto* b) { return a->slot < b->slot; });
        for (const CarResult* c : bySlot) {
            LapEntry e;
            e.slot = c->slot;
            e.baseTime = static_cast<uint32_t>(std::llround(c->crossings[0]));
            for (std::size_t k = 1; k < c->crossings.size(); ++k)
                e.stamps.push_back((static_cast<uint32_t>(std::llround(c->crossings[k])) & 0x00FFFFFF) | c->flags[k - 1]);
            s.table.entries.push_back(std::move(e));
        }
    }
    return std::move(r.out);
}

const SimulationResult& Simulation::result() {
    if (!haveResult_) {
        result_ = run(nullptr);
        haveResult_ = true;
    }
    return result_;
}

ReplayDescription Simulation::describe(ReplayDescription base) {
    const SimulationResult& r = result();
    base.drivers = spec_.drivers;
    base.playerIndex = spec_.player;
    base.practiceTable.reset();
    base.raceTable.reset();
    for (const SessionResult& s : r.sessions) {
        if (s.kind == SessionSpec::Race) {
            base.raceTable = s.table;
        } else {
            base.practiceTable = s.table;
        }
    }
    for (const SessionSpec& s : spec_.sessions)
        if (s.kind == SessionSpec::Race) base.scheduledLaps = base.scheduledLapsAlt = static_cast<uint16_t>(s.laps);
    return base;
}

void Simulation::writeStream(ReplayWriter& writer) {
    const SimulationResult written = run(&writer);
    if (haveResult_ && written.frames != result_.frames) throw std::logic_error("simulation is not deterministic");
    result_ = written;
    haveResult_ = true;
}

SimulationResult writeSimulatedReplay(const std::filesystem::path& path, SimulationSpec plan, ReplayDescription base,
                                      const std::function<void(ReplayDescription&)>& edit) {
    Simulation sim(std::move(plan));
    ReplayDescription d = sim.describe(std::move(base));
    if (edit) edit(d);
    ReplayWriter writer(path, std::move(d));
    sim.writeStream(writer);
    writer.finish();
    return sim.result();
}

}  // namespace samplekit
