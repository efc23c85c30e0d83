# Front door: make build | run | test. Each installs what is missing first.
.PHONY: build run test test-x64 test-x86 test-debian13 test-testing soak hostile fuzz bench deps media clean

deps:
	@tests/harness/deps.sh

build: deps
	cmake -S . -B build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DQV_TESTS=ON
	cmake --build build/x86
	cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DQV_TESTS=ON
	cmake --build build/x64

media: deps
	@tests/media/make_media.sh build/media

# Every test: the x64 suite here, a short fuzzing pass and the x64 suite under
# Debian 13's Wine 10, while the 32-bit release runs in an i386 machine beside
# them; one line per stage with its time, then the summary.
test: build media
	@tests/harness/deps.sh x86vm fuzz debian13
	tests/harness/test-all.sh

test-x64: build media
	tests/harness/run-suite.sh -LE corpus

hostile: build media
	tests/harness/run-suite.sh -L corpus

# The 32-bit release in an emulated i386 machine, under Debian 12's Wine 8
# and Debian 13's Wine 10 in one boot.
test-x86: build media
	@tests/harness/deps.sh x86vm
	tests/x86vm/run.sh

# In a Debian 13 root: the product and tests built with its compiler, the
# x64 suite under its Wine 10.
test-debian13: build media
	@tests/harness/deps.sh debian13
	tests/roots/debian13.sh

# The release built with Debian testing's compiler, and its image checks.
test-testing: deps
	@tests/harness/deps.sh debian13
	tests/roots/testing.sh

# The AVI structure check under libFuzzer for QV_FUZZ_SECONDS (600).
fuzz: media
	@tests/harness/deps.sh fuzz
	tests/media/fuzz/run-fuzz.sh

soak: build media
	tests/harness/run-suite.sh -L soak

bench: build media
	bench/run-bench.sh

run: build media
	tests/harness/run-player.sh

clean:
	rm -rf build
