# make run  - installs what is missing, builds, and starts Reelbox (under Xvfb,
#             with a screenshot in build/screenshot.png, when there is no display)
# make test - installs what is missing, builds, and runs the whole test suite
# make package - builds the Debian package build/reelbox_<version>_<arch>.deb
.PHONY: all deps build run test bench package clean

SCREEN := 1280x1024x24

all: build

deps:
	@scripts/install-deps

build: deps
	@test -f build/CMakeCache.txt || cmake --preset default
	@cmake --build --preset default

run: build
	@scripts/run

test: build
	@cd build && xvfb-run -a -s "-screen 0 $(SCREEN)" ctest --output-on-failure

bench: build
	@scripts/bench

package: build
	@cd build && cpack -G DEB

clean:
	rm -rf build
