# Quick start:   make run    builds the programs alone and starts Barywalk
#                make test   builds everything and runs every test (starts Xvfb when there is no display)
#                make test-fresh-fonts   the GUI tests once more with the DejaVu fonts alone
#                make package   a Debian package (build/barywalk_VERSION_ARCH.deb)
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

# Runs a command under Xvfb when no X display is available.
WITH_DISPLAY = $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1600x1200x24")

# The fonts of a freshly installed machine, DejaVu alone: the dialog's
# layout, and so the panel's size, follows the fonts installed.
FRESH_FONTS ?= $(CURDIR)/tests/support/dejavu-only-fonts.conf

.PHONY: all deps configure build programs run package test test-fresh-fonts bench sanitize fuzz screenshot install clean

all: build

deps:
	@tools/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The four programs without the tests and benchmarks.
programs: configure
	cmake --build $(BUILD) -j $(JOBS) --target programs

run: programs
	$(BUILD)/src/app/barywalk

# The programs and their manual pages, packaged by CPack.
package: configure
	cmake --build $(BUILD) -j $(JOBS) --target programs man-pages
	cd $(BUILD) && cpack -G DEB

test: build
	$(WITH_DISPLAY) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Every GUI test (label "gui") under the fresh machine's fonts.
test-fresh-fonts: build
	FONTCONFIG_FILE=$(FRESH_FONTS) $(WITH_DISPLAY) ctest --test-dir $(BUILD) --output-on-failure -L gui -j $(JOBS)

bench: build
	$(WITH_DISPLAY) tools/run-benchmarks $(BUILD)

# The significance test's calibration at its documented size (docs/calibration.md):
# the sizes and power of every printed p-value, into $(BUILD)/calibration.md.
CALIBRATE_ARGS ?=
.PHONY: calibrate
calibrate: build
	$(BUILD)/tests/calibration/barywalk-calibrate --threads $(JOBS) $(CALIBRATE_ARGS) -o $(BUILD)/calibration.md; \
	  status=$$?; cat $(BUILD)/calibration.md; exit $$status

# The numeric core's tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DBARYWALK_GUI=OFF -DBARYWALK_BENCH=OFF -DBARYWALK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -L core -j $(JOBS)

FUZZ_SECONDS ?= 300
fuzz:
	@tools/install-deps clang
	tools/fuzz-flare-reader $(FUZZ_SECONDS)

screenshot: build
	tools/make-screenshot $(BUILD)

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
