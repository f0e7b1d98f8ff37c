// The page around the game's canvas: fitting the picture to the window,
// full screen, focus, touch controls and the end note. The
// game itself (quizzlebox.js) reads the keyboard and draws onto the canvas.
(function () {
'use strict';

const WIDTH = 696, HEIGHT = 479;
const canvas = document.getElementById('screen');
const stage = document.getElementById('stage');
const game = document.getElementById('game');

// What the test and the benchmarks read: when the game started, when the
// first frame reached the canvas, and when the latest did.
const pageTimes = { started: null, firstFrame: null, lastFrame: null, frames: 0 };

function showNote(text, offerRestart) {
  document.getElementById('note-text').textContent = text;
  document.getElementById('again').hidden = !offerRestart;
  document.getElementById('note').hidden = false;
}

const Module = {
  canvas: canvas,
  onRuntimeInitialized() {
    pageTimes.started = performance.now();
  },
  onFrame() {
    const now = performance.now();
    if (pageTimes.firstFrame === null) pageTimes.firstFrame = now;
    pageTimes.lastFrame = now;
    pageTimes.frames += 1;
    updateTouchKeys();
  },
  onGameEnded() {
    showNote('The game has ended.', true);
  },
  onAbort(what) {
    showNote('The game stopped: ' + what, true);
  },
};

// The game's script (loaded after this one) finds its settings here.
window.Module = Module;
window.qbPage = pageTimes;

// ---- the picture: as large as the window allows, crisp ----

const help = document.getElementById('help');
const touchKeys = document.getElementById('touch-keys');

function fit() {
  const dpr = window.devicePixelRatio || 1;
  const full = document.fullscreenElement === game;
  const roomWidth = full ? game.clientWidth : document.documentElement.clientWidth;
  const roomHeight = (full ? game.clientHeight : window.innerHeight) - (touchKeys.hidden ? 0 : touchKeys.offsetHeight);
  const fitting = Math.min(roomWidth / WIDTH, roomHeight / HEIGHT);
  const factor = Math.floor(fitting * dpr);
  // Whole factors of device pixels keep every picture pixel crisp and the
  // same size. On a touch screen (the touch keys show), where the largest
  // whole factor would leave more than a quarter of the room empty (an
  // upright phone: 59 % of the width), the picture fills the room instead,
  // still sampled nearest-neighbour (the canvas is pixelated), so it is never
  // blurred; so does a screen without room for a device pixel per picture
  // pixel.
  let scale = factor / dpr;
  if (factor < 1 || (!touchKeys.hidden && factor < 0.75 * fitting * dpr))
    scale = Math.floor(WIDTH * fitting * dpr) / dpr / WIDTH;
  const height = HEIGHT * scale;
  canvas.style.width = WIDTH * scale + 'px';
  canvas.style.height = height + 'px';
  // The help line shows under the picture when there is room for it, and
  // below the fold otherwise: the picture comes first.
  stage.style.height = (full ? roomHeight : Math.max(height, roomHeight - help.offsetHeight)) + 'px';
}
window.addEventListener('resize', fit);
document.addEventListener('fullscreenchange', fit);
fit();

// ---- full screen: Alt+Enter or the button ----

function toggleFullscreen() {
  if (document.fullscreenElement) document.exitFullscreen();
  else if (game.requestFullscreen) game.requestFullscreen().catch(() => {});
  canvas.focus();
}
document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
window.addEventListener('keydown', (e) => {
  if (e.altKey && !e.ctrlKey && e.key === 'Enter') {
    e.preventDefault();
    if (!e.repeat) toggleFullscreen();
  }
});

// ---- focus: a click or a key brings the keyboard to the game ----

stage.addEventListener('mousedown', () => canvas.focus());
window.addEventListener('keydown', () => {
  if (document.activeElement === document.body) canvas.focus();
}, true);
document.getElementById('again').addEventListener('click', () => location.reload());
canvas.focus();

// ---- touch: swipes walk, a tap goes on, buttons give the other keys ----

// A key press as the keyboard would give it; the game's key handler on the
// window takes it the same way.
function press(key) {
  const code = /^[a-z]$/.test(key) ? 'Key' + key.toUpperCase() : /^[0-9]$/.test(key) ? 'Digit' + key : key;
  window.dispatchEvent(new KeyboardEvent('keydown', { key: key, code: code, bubbles: true, cancelable: true }));
  window.dispatchEvent(new KeyboardEvent('keyup', { key: key, code: code, bubbles: true, cancelable: true }));
}

function currentScreen() {
  return Module._qb_screen ? Module.UTF8ToString(Module._qb_screen()) : '';
}

const digitKeys = document.getElementById('digit-keys');
function showTouchKeys() {
  if (!touchKeys.hidden) return;
  touchKeys.hidden = false;
  updateTouchKeys();
  fit();
}
if (window.matchMedia && window.matchMedia('(pointer: coarse)').matches) showTouchKeys();

// The digits are offered while the password screen is open; their row keeps
// its room while hidden, so the picture never changes size for it.
function updateTouchKeys() {
  if (touchKeys.hidden || !Module._qb_screen) return;
  const wanted = currentScreen() !== 'password';
  if (digitKeys.hidden !== wanted) digitKeys.hidden = wanted;
}

for (const button of touchKeys.querySelectorAll('button')) {
  button.addEventListener('pointerdown', (e) => {
    e.preventDefault();
    press(button.dataset.key);
  });
}

// The key caps the side bar draws (their top rows; each label lies under its
// cap) and the keys they stand for. A tap there is that key.
const SIDE_BAR = { left: 652, right: 693 };
const SIDE_KEYS = [[20, 'F1'], [68, 'F5'], [116, 'p'], [164, '+'], [212, 'b'], [260, 'l'], [308, 's']];
function sideBarKey(clientX, clientY) {
  if (currentScreen() === 'password') return null;  // it would type the letters
  const r = canvas.getBoundingClientRect();
  const x = (clientX - r.left) * WIDTH / r.width, y = (clientY - r.top) * HEIGHT / r.height;
  if (x < SIDE_BAR.left || x > SIDE_BAR.right) return null;
  for (const [top, key] of SIDE_KEYS) if (y >= top - 6 && y < top + 42) return key;
  return null;
}

// A swipe is one step, in the direction the finger went from where it
// touched; held there, it repeats as a held arrow key does. Going back near
// the start stops the repeat, and turning to another direction steps that way.
const STEP_PX = 24;
const REPEAT_AFTER_MS = 350, REPEAT_EVERY_MS = 150;
let swipe = null;
function stopRepeat() {
  if (swipe && swipe.timer !== null) clearTimeout(swipe.timer);
  if (swipe) swipe.timer = null;
}
function repeatStep() {
  if (!swipe || !swipe.direction) return;
  press(swipe.direction);
  swipe.timer = setTimeout(repeatStep, REPEAT_EVERY_MS);
}
function endSwipe() {
  stopRepeat();
  swipe = null;
}
// One finger swipes and taps; two pinch-zoom the page (the stage's
// touch-action leaves the browser only that), so they end a swipe.
stage.addEventListener('touchstart', (e) => {
  showTouchKeys();
  endSwipe();
  if (e.touches.length !== 1) return;
  const t = e.touches[0];
  swipe = { x: t.clientX, y: t.clientY, direction: null, stepped: false, timer: null };
}, { passive: true });
stage.addEventListener('touchmove', (e) => {
  if (!swipe || e.touches.length !== 1) return;
  e.preventDefault();
  const t = e.touches[0];
  const dx = t.clientX - swipe.x, dy = t.clientY - swipe.y;
  let direction = null;
  if (Math.max(Math.abs(dx), Math.abs(dy)) >= STEP_PX)
    direction = Math.abs(dx) > Math.abs(dy) ? (dx > 0 ? 'ArrowRight' : 'ArrowLeft') : (dy > 0 ? 'ArrowDown' : 'ArrowUp');
  if (direction === swipe.direction) return;
  stopRepeat();
  swipe.direction = direction;
  if (!direction) return;
  swipe.stepped = true;
  press(direction);
  swipe.timer = setTimeout(repeatStep, REPEAT_AFTER_MS);
}, { passive: false });
stage.addEventListener('touchend', (e) => {
  if (!swipe) return;
  e.preventDefault();  // no mouse events after a tap
  if (!swipe.stepped) {
    const t = e.changedTouches[0];
    press((t && sideBarKey(t.clientX, t.clientY)) || ' ');
  }
  endSwipe();
}, { passive: false });
stage.addEventListener('touchcancel', endSwipe);
})();
