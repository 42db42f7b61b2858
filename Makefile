# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   - installs what is missing, builds, and starts Orvento on a local data folder
#   make test  - installs what is missing, builds, and runs every test
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

PACKAGES := cmake ninja-build g++ pkg-config ccache xdg-utils clang-format \
	qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n libsqlite3-dev \
	libzip-dev zipcmp zipmerge ziptool mdbtools mdbtools-dev libfreexl-dev libshp-dev \
	libjpeg62-turbo-dev libkainjow-mustache-dev libgtest-dev libbenchmark-dev poppler-utils \
	clang-tidy libxlsxwriter-dev python3-xlwt python3-odf python3-dbf ca-certificates \
	lintian appstream desktop-file-utils dpkg-dev file librsvg2-bin \
	libcurl4-openssl-dev qtkeychain-qt6-dev openssl \
	postgresql libqt6sql6-psql

PROGRAM_DIR := $(BUILD)/program
# Extra CMake settings, e.g. CMAKE_ARGS=-DORVENTO_SANITIZE=ON.
CMAKE_ARGS ?=
# Set by the test target: CI builds with warnings as errors.
CHECK_ARGS ?=

# The source folders that exist (others are added as the subsystems arrive).
SOURCE_DIRS := $(wildcard app core services catalogue offers addressbook import output backup \
	notes ui tests bench tools pelmack dastrel)
SOURCES = $(shell find $(SOURCE_DIRS) \( -name '*.cpp' -o -name '*.h' \) -not -path '*/build*')

.PHONY: all deps configure build run test package check-package sanitize check-format tidy bench \
	clean format fuzz

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) $(CHECK_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The first start gets a local data folder next to the program, with the demo agenda.
run: build
	@if [ ! -f $(PROGRAM_DIR)/Tovaro.ini ]; then \
	  mkdir -p $(PROGRAM_DIR)/DATA; \
	  printf '[PATH]\nDataPath=%s/DATA/\n[CONFIG]\nLastDBName=DEMO\n' "$$(cd $(PROGRAM_DIR) && pwd)" > $(PROGRAM_DIR)/Tovaro.ini; \
	fi
	$(PROGRAM_DIR)/orvento

# CI: warnings are errors and every file is formatted as .clang-format says.
test: CHECK_ARGS = -DORVENTO_WERROR=ON
test: check-format build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600
	$(MAKE) check-package

# The Debian package, orvento_<version>_amd64.deb in the build folder.
package: build
	cd $(BUILD) && rm -f orvento_*.deb && cpack -G DEB

# Lints the package and, run as root, installs, tries and removes it (packaging/check-package.sh).
check-package: package
	packaging/check-package.sh $(BUILD)

# Every test once more in a build with the address and undefined-behaviour sanitizers, without
# the benchmarks; optimised lightly and with line tables only, so that it builds in about half the
# time of the normal build and still names the line of a fault. Leak reports are off: Qt keeps
# some of its objects until the process ends.
SANITIZE_BUILD ?= build-sanitize
sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DORVENTO_SANITIZE=ON \
	  -DORVENTO_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 900

check-format: deps
	clang-format --dry-run --Werror $(SOURCES)

# clang-tidy with the checks of .clang-tidy over every source file the build compiles (its
# compile_commands.json), the generated ones left out; any finding fails it. Slow: a few seconds a
# file.
TIDY_JOBS ?= $(JOBS)
TIDY_FILES := ^$(CURDIR)/($(subst $() ,|,$(SOURCE_DIRS)))/
tidy: build
	run-clang-tidy -p $(BUILD) -j $(TIDY_JOBS) -quiet '$(TIDY_FILES)'

# These run on the SQLite file and on a throw-away PostgreSQL server, their figures side by side.
SERVER_BENCHES := bench_catalogue bench_offers bench_import bench_datalayer

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] || continue; \
	  case " $(SERVER_BENCHES) " in *" $$(basename $$b) "*) "$$b" --store all;; *) "$$b";; esac; \
	done

format:
	clang-format -i $(SOURCES)

clean:
	rm -rf $(BUILD)

# The workstation soak (tests/soak): SOAK_WORKSTATIONS scripted workstations on one fresh data
# folder made from the demo templates for SOAK_SECONDS, one of them killed every few seconds; then
# the checks and their figures (docs/RELIABILITY.md). SOAK_ARGS adds e.g. `--folder DIR` (the
# data folder and journals, kept) or `--seed N`. SOAK_STORES names the stores, one run each: the
# folder's files and a throw-away database server, whose run is skipped, saying why, where the
# server cannot start (the soak exits with 77 then).
SOAK_WORKSTATIONS ?= 8
SOAK_SECONDS ?= 60
SOAK_STORE ?=
SOAK_STORES ?= $(or $(SOAK_STORE),SqliteFolder Postgres)
SOAK_ARGS ?=
.PHONY: soak
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target orvento_soak
	@failed=0; for store in $(SOAK_STORES); do \
	  $(BUILD)/tests/soak/orvento_soak --workstations $(SOAK_WORKSTATIONS) \
	    --seconds $(SOAK_SECONDS) --store $$store $(SOAK_ARGS); rc=$$?; \
	  if [ $$rc -eq 77 ]; then echo "soak: no run on $$store"; \
	  elif [ $$rc -ne 0 ]; then failed=1; fi; \
	done; exit $$failed

# The readers of outside files under libFuzzer (tests/fuzz/): a clang build in build-fuzz/ with the
# fuzzer's instrumentation and both sanitizers, then every harness for FUZZ_SECONDS from its
# corpus, printing its runs, coverage and crashes; a crash fails the target and leaves its input
# in build-fuzz/fuzz-crashes/<reader>/.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= $(JOBS)
fuzz: PACKAGES += clang libclang-rt-14-dev
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
	  -DORVENTO_FUZZ=ON -DORVENTO_BUILD_TESTS=OFF -DORVENTO_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) --target fuzz_harnesses -j $(FUZZ_JOBS)
	tests/fuzz/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
