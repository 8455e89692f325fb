// Voice rendering, buffer effects and the final levelling of an effect.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

constexpr double kTau = 6.283185307179586;

// Band-limiting correction for the jumps of square and saw waves.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

unsigned nextNoise(unsigned& s) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

} // namespace

float note(int semitonesFromA4) {
    return float(440.0 * std::pow(2.0, semitonesFromA4 / 12.0));
}

void Buffer::play(const Voice& v, float start, float length) {
    size_t i0 = size_t(std::max(0.0f, start) * kRate);
    size_t n = size_t((length + v.release) * kRate);
    double phase = 0, mphase = 0, lp = 0, held = 0, holdPhase = 1;
    unsigned noise = v.seed * 2654435761u + 1013904223u;
    double sweep = v.sweepTime > 0 ? v.sweepTime : length;
    double lpA = v.lowpass > 0 ? 1.0 - std::exp(-kTau * v.lowpass / kRate) : 1.0;
    double releaseLevel = -1;
    for (size_t k = 0; k < n && i0 + k < s_.size(); ++k) {
        double t = double(k) / kRate;
        // Envelope.
        double level;
        if (t < v.attack)
            level = t / v.attack;
        else
            level = v.sustain + (1.0 - v.sustain) * std::exp(-(t - v.attack) / std::max(1e-4f, v.decay));
        if (t >= length) {
            if (releaseLevel < 0) releaseLevel = level;
            double r = v.release > 0 ? std::min(1.0, (t - length) / v.release) : 1.0;
            level = releaseLevel * (1.0 - r) * (1.0 - r);
        }
        // Pitch.
        double f = v.freq;
        if (v.freqEnd > 0) f = v.freq * std::pow(double(v.freqEnd) / v.freq, std::min(1.0, t / sweep));
        if (v.vibrato != 0) f *= std::pow(2.0, v.vibrato / 12.0 * std::sin(kTau * v.vibratoRate * t));
        double dt = f / kRate;
        // Oscillator.
        double x = 0;
        switch (v.wave) {
        case Wave::Sine: {
            double pm = 0;
            if (v.fmRatio > 0) {
                double index = v.fmIndex * (v.fmDecay > 0 ? std::pow(3.0, -t / v.fmDecay) : 1.0);
                pm = index * std::sin(kTau * mphase);
                mphase += dt * v.fmRatio;
                mphase -= std::floor(mphase);
            }
            x = std::sin(kTau * phase + pm);
            break;
        }
        case Wave::Triangle:
            x = 4.0 * std::fabs(phase - 0.5) - 1.0;
            break;
        case Wave::Square: {
            x = phase < v.duty ? 1.0 : -1.0;
            x += polyBlep(phase, dt);
            double shifted = phase - v.duty + (phase < v.duty ? 1.0 : 0.0);
            x -= polyBlep(shifted, dt);
            x -= 2.0 * v.duty - 1.0; // a pulse's average, so it carries no offset
            break;
        }
        case Wave::Saw:
            x = 2.0 * phase - 1.0 - polyBlep(phase, dt);
            break;
        case Wave::Noise:
            holdPhase += dt;
            if (holdPhase >= 1) {
                holdPhase -= std::floor(holdPhase);
                held = (nextNoise(noise) & 0xffff) / 32767.5 - 1.0;
            }
            x = held;
            break;
        }
        phase += dt;
        phase -= std::floor(phase);
        lp += lpA * (x - lp);
        double amp = level * v.gain;
        if (v.tremolo > 0) amp *= 1.0 - v.tremolo * (0.5 + 0.5 * std::sin(kTau * v.tremoloRate * t));
        s_[i0 + k] += float(lp * amp);
    }
}

void Buffer::lowpass(float cutoff) {
    double a = 1.0 - std::exp(-kTau * cutoff / kRate), y = 0;
    for (float& x : s_) {
        y += a * (x - y);
        x = float(y);
    }
}

void Buffer::highpass(float cutoff) {
    double a = 1.0 - std::exp(-kTau * cutoff / kRate), y = 0;
    for (float& x : s_) {
        y += a * (x - y);
        x = float(x - y);
    }
}

void Buffer::echo(float delay, float feedback, float mix) {
    size_t d = size_t(delay * kRate);
    if (d == 0 || d >= s_.size()) return;
    std::vector<float> wet(s_.size(), 0.0f);
    for (size_t i = d; i < s_.size(); ++i) wet[i] = (s_[i - d] + wet[i - d]) * feedback;
    for (size_t i = 0; i < s_.size(); ++i) s_[i] += wet[i] * mix;
}

void finish(std::vector<float>& s) {
    // Block any remaining offset (a 20 Hz high-pass), so the ends sit at zero.
    double a = 1.0 - std::exp(-kTau * 20.0 / kRate), low = 0;
    for (float& x : s) {
        low += a * (x - low);
        x = float(x - low);
    }
    // Drop a silent tail, keeping a little room for the fade.
    size_t end = s.size();
    while (end > 0 && std::fabs(s[end - 1]) < 1e-4f) --end;
    s.resize(std::min(s.size(), end + size_t(0.01 * kRate)));
    if (s.empty()) return;

    // Loudness: the loudest 50 ms window is brought to the same level for all.
    size_t win = size_t(0.05 * kRate), step = size_t(0.005 * kRate);
    double loudest = 0;
    for (size_t i = 0; i < s.size(); i += step) {
        double sum = 0;
        size_t m = std::min(win, s.size() - i);
        for (size_t k = 0; k < m; ++k) sum += double(s[i + k]) * s[i + k];
        loudest = std::max(loudest, std::sqrt(sum / double(win)));
    }
    double gain = loudest > 0 ? 0.22 / loudest : 1.0;
    double peak = 0;
    for (float x : s) peak = std::max(peak, std::fabs(double(x)));
    const double ceiling = 0.866; // -1.25 dBFS
    if (peak * gain > ceiling) gain = ceiling / peak;
    for (float& x : s) x = float(x * gain);

    // Short fades so neither end clicks.
    size_t in = std::min(s.size() / 2, size_t(0.003 * kRate));
    size_t out = std::min(s.size() / 2, size_t(0.012 * kRate));
    for (size_t i = 0; i < in; ++i) s[i] *= float(i) / float(in);
    for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= float(i) / float(out);
}

} // namespace synth
