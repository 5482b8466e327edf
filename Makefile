# The two commands of the README:
#   make test   installs what is missing, builds everything and runs every test
#   make run    the main job: a transfer against a simulated terminal
BUILD ?= build
SAN_BUILD ?= build-sanitize
JOBS ?= 2

.PHONY: all deps configure build test sanitize run bench install package clean

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
	rm -rf $(BUILD) $(SAN_BUILD)

# Windows: Vantor2.dll (32- and 64-bit) and vantor.exe, cross-built with
# mingw-w64; windows-test runs their tests under Wine (README, "Windows").
WIN_BUILD ?= build-windows
.PHONY: windows windows-deps windows-test

windows-deps:
	@scripts/install-windows-deps

windows: windows-deps
	scripts/build-windows $(WIN_BUILD)

windows-test: windows
	scripts/test-windows $(WIN_BUILD)
