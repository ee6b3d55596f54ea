/* Times libsoxr as the engine uses it: stereo floats, 48 kHz to 44.1 kHz,
 * high quality, in blocks of the size Media Foundation hands over.
 *   resampler_bench.exe [seconds of audio]
 * Built twice by resampler-compare.sh: against the library's own default
 * build and against ours. */
#include <soxr.h>

#include <windows.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    double seconds = argc > 1 ? atof(argv[1]) : 1200;
    const size_t block = 1152;
    float* in = malloc(block * 2 * sizeof(float));
    float* out = malloc(block * 4 * sizeof(float));
    size_t total = (size_t)(48000 * seconds), done = 0, produced = 0;
    soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = NULL;
    LARGE_INTEGER frequency, start, end;
    soxr_t resampler;
    size_t i;
    for (i = 0; i < block; ++i) {
        in[2 * i] = 0.5f * sinf(2 * 3.14159265f * 1000 * i / 48000.0f);
        in[2 * i + 1] = 0.3f * sinf(2 * 3.14159265f * 440 * i / 48000.0f);
    }
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    resampler = soxr_create(48000, 44100, 2, &error, &io, &quality, NULL);
    if (resampler == NULL) {
        fprintf(stderr, "soxr: %s\n", error);
        return 1;
    }
    while (done < total) {
        size_t used = 0, made = 0;
        soxr_process(resampler, in, block, &used, out, block * 2, &made);
        done += used;
        produced += made;
    }
    QueryPerformanceCounter(&end);
    {
        double elapsed = (double)(end.QuadPart - start.QuadPart) / frequency.QuadPart;
        printf("%s engine: %.0f s of audio in %.2f s: %.0fx real time\n", soxr_engine(resampler),
               seconds, elapsed, seconds / elapsed);
    }
    soxr_delete(resampler);
    return produced > 0 ? 0 : 1;
}
