# Shortcuts for the scripts the README names.
.PHONY: run test build installer
run:
	./scripts/run.sh
test:
	./scripts/test.sh
build:
	./scripts/build.sh all
installer:
	./scripts/installer.sh
