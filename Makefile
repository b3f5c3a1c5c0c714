# The README's commands. Each one installs what is missing first, so a fresh Debian 12 machine
# needs nothing else.
BUILD ?= build
# The tests' own build: everything built with AddressSanitizer and UndefinedBehaviorSanitizer.
TEST_BUILD ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench fuzz format clean install

all: build

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the program with the example songs as its working folder.
run: build
	cd examples && ../$(BUILD)/tunara

# Any sanitizer report fails the test that caused it (the options are in tests/CMakeLists.txt, so
# a plain ctest in that folder applies them too). run and bench keep the optimised build.
test: deps
	cmake -S . -B $(TEST_BUILD) $(CMAKE_FLAGS) -DTUNARA_SANITIZE=ON -DTUNARA_BUILD_BENCH=OFF
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

# Installs under PREFIX (default /usr/local), staged below DESTDIR when given.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

bench: build
	bash bench/run-all.sh $(BUILD)

fuzz: deps
	bash scripts/fuzz.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(TEST_BUILD)
