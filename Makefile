# The two commands of the README:
#   make test   installs what is missing, builds everything and runs every test
#   make run    the main job: a transfer against a simulated terminal
BUILD ?= build
SAN_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
TSAN_BUILD ?= build-tsan
FUZZ_SECONDS ?= 60
JOBS ?= 2

.PHONY: all deps configure build test sanitize fuzz tsan run bench install package clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	scripts/with-display ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The library and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DVANTOR_WITH_QT=OFF -DVANTOR_BUILD_BENCH=OFF -DVANTOR_SANITIZE=ON \
	  -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

# The fuzz targets (tests/fuzz) built with clang's libFuzzer under ASan and
# UBSan, each run for FUZZ_SECONDS on its seed corpus.
fuzz: deps
	scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The library, vantor, hht-sim and their tests under ThreadSanitizer; any report
# fails the test that caused it.
tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DVANTOR_WITH_QT=OFF -DVANTOR_BUILD_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_C_FLAGS="-fsanitize=thread" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=thread"
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 $(TSAN_OPTIONS)" \
	  ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS)

run: build
	scripts/run-demo $(BUILD)

bench: build
	cmake --build $(BUILD) --target bench -j $(JOBS)

install: build
	cmake --install $(BUILD)

# The Debian package kelvane_<version>_amd64.deb in the build folder.
package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD)

# Windows: Vantor2.dll (32- and 64-bit) and vantor.exe, cross-built with
# mingw-w64; windows-installer packs them into kelvane-setup-<version>.exe with
# NSIS; windows-test runs their tests, the installer's too, under Wine
# (README, "Windows").
WIN_BUILD ?= build-windows
.PHONY: windows windows-deps windows-installer windows-test

windows-deps:
	@scripts/install-windows-deps

windows: windows-deps
	scripts/build-windows $(WIN_BUILD)

windows-installer: windows
	scripts/build-windows-installer $(WIN_BUILD)

windows-test: windows-installer
	scripts/test-windows $(WIN_BUILD)
