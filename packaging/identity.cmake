# Who publishes the game and where: names the desktop files, the Debian
# package and the Windows program's version information and installer.
set(QB_APP_ID org.quizzlebox.quizzlebox)
set(QB_SUMMARY "Push every box onto a target, through 200 levels")
set(QB_HOMEPAGE "https://quizzlebox.org" CACHE STRING "The game's home page")
set(QB_SCREENSHOT_URL "${QB_HOMEPAGE}/docs" CACHE STRING "Where docs/menu.png and docs/play.png are published")
set(QB_DEVELOPER "The QUIZZLEBOX developers")
set(QB_MAINTAINER "QUIZZLEBOX developers <maintainers@quizzlebox.org>" CACHE STRING "Name <address> of the package's maintainer")
set(QB_LICENSE LicenseRef-proprietary)  # no licence has been chosen yet
string(SUBSTRING ${QB_RELEASE_DATE} 0 4 QB_RELEASE_YEAR)
