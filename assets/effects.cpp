// Recipes of the sound effects, one per game event, all built from the same
// few voices so they sound like one set.
#include "effects.h"

#include "synth.h"

using synth::Buffer;
using synth::note;
using synth::Voice;
using synth::Wave;

namespace {

Voice voice(Wave w, float freq, float decay, float gain = 1) {
    Voice v;
    v.wave = w;
    v.freq = freq;
    v.decay = decay;
    v.gain = gain;
    return v;
}

Voice bell(float freq, float decay, float ratio = 3.5f, float index = 2.0f) {
    Voice v = voice(Wave::Sine, freq, decay);
    v.fmRatio = ratio;
    v.fmIndex = index;
    v.fmDecay = decay * 0.8f;
    v.attack = 0.002f;
    v.release = 0.08f;
    return v;
}

Voice click(float gain, unsigned seed) {
    Voice v = voice(Wave::Noise, 44100, 0.004f, gain);
    v.attack = 0.0005f;
    v.release = 0.005f;
    v.seed = seed;
    return v;
}

// Lead voice of the jingles: a soft square with a touch of vibrato.
Voice lead(float freq, float len) {
    Voice v = voice(Wave::Square, freq, len * 2.5f, 0.55f);
    v.duty = 0.3f;
    v.sustain = 0.55f;
    v.attack = 0.006f;
    v.release = 0.06f;
    v.lowpass = 3800;
    v.vibrato = 0.12f;
    v.vibratoRate = 5.5f;
    return v;
}

Voice bass(float freq, float len) {
    Voice v = voice(Wave::Triangle, freq, len * 3, 0.7f);
    v.sustain = 0.6f;
    v.release = 0.05f;
    return v;
}

// A sequence of (semitone, beats) notes played by the lead voice.
struct Step {
    int semi;
    float beats;
};
float melody(Buffer& b, std::initializer_list<Step> steps, float start, float beat, float octave = 1) {
    float t = start;
    for (const Step& s : steps) {
        if (s.semi > -100)
            b.play(lead(note(s.semi) * octave, s.beats * beat * 0.9f), t, s.beats * beat * 0.9f);
        t += s.beats * beat;
    }
    return t;
}

// 1..10: strikes. The same knock at ten pitches of a pentatonic scale, with
// the body alternating between a glassy and a woody tone.
std::vector<float> hit(int n) {
    static const int pitch[10] = {-9, -7, -5, -2, 0, 3, 5, 7, 10, 12};
    float f = note(pitch[n - 1]);
    Buffer b(0.4f);
    Voice body = bell(f, 0.09f + 0.01f * (n % 4), n % 2 ? 1.0f : 2.0f, n % 2 ? 1.6f : 2.4f);
    body.freqEnd = f * 0.82f;
    body.sweepTime = 0.08f;
    b.play(body, 0, 0.2f);
    Voice ring = voice(Wave::Triangle, f * 2, 0.05f, 0.35f);
    b.play(ring, 0, 0.1f);
    Voice knock = click(0.5f, unsigned(n));
    knock.lowpass = 6000;
    b.play(knock, 0, 0.004f);
    return b.samples();
}

// 11..13: a mushroom pops out of the ground.
std::vector<float> plant(int n) {
    Buffer b(0.35f);
    float f = 180.0f + 50.0f * (n - 11);
    Voice pop = voice(Wave::Sine, f, 0.09f);
    pop.freqEnd = f * 3.2f;
    pop.sweepTime = 0.1f;
    pop.attack = 0.01f;
    pop.release = 0.04f;
    b.play(pop, 0, 0.12f);
    Voice sub = voice(Wave::Triangle, f * 0.5f, 0.06f, 0.5f);
    sub.freqEnd = f * 1.2f;
    b.play(sub, 0, 0.08f);
    if (n == 13) {
        Voice again = pop;
        again.gain = 0.5f;
        b.play(again, 0.09f, 0.1f);
    }
    b.lowpass(5000);
    return b.samples();
}

// 14, 15: a coin-like ding for each mushroom cleared in the bonus count.
std::vector<float> coin(int n) {
    Buffer b(0.5f);
    int first = n == 14 ? 14 : 19, second = n == 14 ? 19 : 24;
    Voice a = voice(Wave::Square, note(first), 0.5f, 0.5f);
    a.duty = 0.25f;
    a.sustain = 0.6f;
    a.lowpass = 5000;
    b.play(a, 0, 0.06f);
    Voice c = a;
    c.freq = note(second);
    c.sustain = 0;
    c.decay = 0.12f;
    c.release = 0.1f;
    b.play(c, 0.06f, 0.25f);
    return b.samples();
}

// 16: a pod springs off the paddle.
std::vector<float> boing() {
    Buffer b(0.5f);
    Voice v = voice(Wave::Triangle, 140, 0.25f);
    v.freqEnd = 520;
    v.sweepTime = 0.18f;
    v.vibrato = 1.5f;
    v.vibratoRate = 22;
    v.release = 0.08f;
    b.play(v, 0, 0.3f);
    Voice tip = voice(Wave::Sine, 280, 0.12f, 0.5f);
    tip.freqEnd = 1040;
    tip.sweepTime = 0.18f;
    b.play(tip, 0, 0.2f);
    return b.samples();
}

// 17: a soft blip.
std::vector<float> blip() {
    Buffer b(0.2f);
    Voice v = voice(Wave::Sine, 880, 0.04f);
    v.attack = 0.004f;
    v.release = 0.03f;
    b.play(v, 0, 0.06f);
    return b.samples();
}

// 18: something is lost or bursts: a crunch of noise over a falling tone.
std::vector<float> burst() {
    Buffer b(0.9f);
    Voice crunch = voice(Wave::Noise, 9000, 0.12f);
    crunch.freqEnd = 600;
    crunch.sweepTime = 0.5f;
    crunch.attack = 0.001f;
    crunch.release = 0.2f;
    crunch.seed = 18;
    b.play(crunch, 0, 0.4f);
    Voice fall = voice(Wave::Square, 420, 0.25f, 0.6f);
    fall.freqEnd = 55;
    fall.duty = 0.4f;
    fall.lowpass = 2500;
    fall.release = 0.2f;
    b.play(fall, 0, 0.5f);
    return b.samples();
}

// 19: a new ball: a quick rising arpeggio.
std::vector<float> newBall() {
    Buffer b(0.6f);
    const int steps[] = {3, 7, 10, 15};
    for (int i = 0; i < 4; ++i) {
        Voice v = voice(Wave::Triangle, note(steps[i]), 0.08f);
        v.release = 0.05f;
        b.play(v, i * 0.055f, 0.06f);
        Voice s = bell(note(steps[i] + 12), 0.05f, 2, 1);
        s.gain = 0.3f;
        b.play(s, i * 0.055f, 0.05f);
    }
    b.echo(0.09f, 0.3f, 0.5f);
    return b.samples();
}

// 20: the bonus count begins: an upward swish and a bright chord.
std::vector<float> bonusStart() {
    Buffer b(0.8f);
    Voice swish = voice(Wave::Saw, 220, 0.3f, 0.4f);
    swish.freqEnd = 1760;
    swish.sweepTime = 0.2f;
    swish.sustain = 0.8f;
    swish.lowpass = 3000;
    swish.release = 0.02f;
    b.play(swish, 0, 0.2f);
    for (int semi : {15, 19, 22}) b.play(bell(note(semi), 0.25f, 2, 1.2f), 0.2f, 0.3f);
    b.echo(0.11f, 0.25f, 0.4f);
    return b.samples();
}

// 21: the ball bounces: a short wooden tock.
std::vector<float> tock() {
    Buffer b(0.15f);
    Voice v = bell(1050, 0.035f, 1.41f, 2.5f);
    v.freqEnd = 800;
    v.sweepTime = 0.03f;
    v.release = 0.02f;
    b.play(v, 0, 0.05f);
    b.play(click(0.4f, 21), 0, 0.002f);
    return b.samples();
}

// 31..33: round fanfares.
std::vector<float> fanfare(int n) {
    Buffer b(2.0f);
    float beat = 0.12f;
    if (n == 31) {
        float t = melody(b, {{-2, 1}, {3, 1}, {7, 1}, {10, 1}, {-200, 0.5f}, {7, 0.5f}, {15, 4}}, 0, beat);
        b.play(bass(note(-21), 4 * beat), 0, 4 * beat);
        b.play(bass(note(-14), 5 * beat), 4 * beat, t - 4 * beat);
    } else if (n == 32) {
        melody(b, {{7, 1}, {10, 1}, {15, 1}, {-200, 0.5f}, {12, 0.5f}, {15, 3}}, 0, beat);
        b.play(bass(note(-21), 3 * beat), 0, 3 * beat);
        b.play(bass(note(-9), 4 * beat), 3 * beat, 4 * beat);
    } else {
        // The focus round: minor and mysterious, with a tremolo.
        float t = melody(b, {{0, 1.5f}, {3, 1.5f}, {7, 1.5f}, {11, 1.5f}, {12, 4}}, 0, beat);
        Voice pad = voice(Wave::Triangle, note(-24), t, 0.6f);
        pad.sustain = 0.9f;
        pad.tremolo = 0.5f;
        pad.tremoloRate = 7;
        pad.release = 0.2f;
        b.play(pad, 0, t);
        b.play(bell(note(24), 0.6f, 3.5f, 1.5f), 6 * beat, 0.6f);
    }
    b.echo(0.18f, 0.25f, 0.35f);
    return b.samples();
}

// 34: the ball bonus: a sparkling run up two octaves.
std::vector<float> ballBonus() {
    Buffer b(1.3f);
    const int run[] = {3, 7, 10, 15, 19, 22, 27};
    for (int i = 0; i < 7; ++i) b.play(bell(note(run[i]), 0.2f, 2, 1.5f), i * 0.06f, 0.2f);
    b.play(lead(note(27), 0.3f), 0.42f, 0.3f);
    b.echo(0.12f, 0.35f, 0.5f);
    return b.samples();
}

// 35: game over: a slow fall to a low, wobbling note.
std::vector<float> gameOver() {
    Buffer b(2.4f);
    float beat = 0.2f;
    float t = melody(b, {{-2, 1}, {-3, 1}, {-4, 1}}, 0, beat);
    Voice last = lead(note(-5), 1.0f);
    last.vibrato = 0.5f;
    last.vibratoRate = 4;
    last.release = 0.3f;
    b.play(last, t, 1.0f);
    b.play(bass(note(-29), 3 * beat), 0, 3 * beat);
    Voice low = bass(note(-29), 1.0f);
    low.freqEnd = note(-31);
    b.play(low, t, 1.0f);
    b.echo(0.2f, 0.2f, 0.3f);
    return b.samples();
}

// 36: the round is cleared: a triumphant little run.
std::vector<float> roundClear() {
    Buffer b(1.6f);
    float beat = 0.1f;
    float t = melody(b, {{3, 1}, {7, 1}, {10, 1}, {15, 2}, {10, 1}, {15, 4}}, 0, beat);
    b.play(bass(note(-21), t), 0, t);
    b.play(bell(note(27), 0.5f, 3.5f, 1.2f), 5 * beat, 0.5f);
    b.echo(0.15f, 0.25f, 0.35f);
    return b.samples();
}

// 37: skill shot: a zing up to a ringing bell.
std::vector<float> skillShot() {
    Buffer b(1.2f);
    Voice zing = voice(Wave::Sine, 400, 0.2f, 0.7f);
    zing.freqEnd = 2400;
    zing.sweepTime = 0.15f;
    zing.sustain = 0.7f;
    zing.release = 0.03f;
    b.play(zing, 0, 0.15f);
    b.play(bell(note(27), 0.45f, 3.5f, 2.0f), 0.15f, 0.5f);
    b.play(bell(note(34), 0.3f, 2.0f, 1.0f), 0.15f, 0.4f);
    b.echo(0.13f, 0.3f, 0.4f);
    return b.samples();
}

// 95: a badge: a two-note chime.
std::vector<float> chime() {
    Buffer b(1.4f);
    b.play(bell(note(19), 0.4f, 3.5f, 1.8f), 0, 0.4f);
    b.play(bell(note(26), 0.6f, 3.5f, 1.8f), 0.12f, 0.6f);
    b.echo(0.16f, 0.3f, 0.4f);
    return b.samples();
}

// 98: a menu move: a short soft tick.
std::vector<float> menuMove() {
    Buffer b(0.12f);
    Voice v = voice(Wave::Triangle, 660, 0.03f);
    v.attack = 0.002f;
    v.release = 0.02f;
    b.play(v, 0, 0.04f);
    return b.samples();
}

// 99: a confirmation: two rising blips.
std::vector<float> confirm() {
    Buffer b(0.3f);
    Voice v = voice(Wave::Square, note(7), 0.05f, 0.6f);
    v.sustain = 0.6f;
    v.lowpass = 3000;
    v.release = 0.02f;
    b.play(v, 0, 0.06f);
    v.freq = note(14);
    b.play(v, 0.07f, 0.08f);
    return b.samples();
}

} // namespace

std::vector<float> synthesiseEffect(int number) {
    std::vector<float> s;
    if (number >= 1 && number <= 10)
        s = hit(number);
    else if (number >= 11 && number <= 13)
        s = plant(number);
    else if (number == 14 || number == 15)
        s = coin(number);
    else if (number == 16)
        s = boing();
    else if (number == 17)
        s = blip();
    else if (number == 18)
        s = burst();
    else if (number == 19)
        s = newBall();
    else if (number == 20)
        s = bonusStart();
    else if (number == 21)
        s = tock();
    else if (number >= 31 && number <= 33)
        s = fanfare(number);
    else if (number == 34)
        s = ballBonus();
    else if (number == 35)
        s = gameOver();
    else if (number == 36)
        s = roundClear();
    else if (number == 37)
        s = skillShot();
    else if (number == 95)
        s = chime();
    else if (number == 98)
        s = menuMove();
    else if (number == 99)
        s = confirm();
    synth::finish(s);
    return s;
}
