// Runs inside vellum.js before the engine starts (linked with --pre-js).
//
// In a page: the saves and settings folders are kept in the browser's storage (IndexedDB). They are
// loaded before main() runs and written back after every completed write (the engine calls
// Module.vellumSyncStorage) and when the engine exits. The page says where the game lives
// (Module.vellumGameFolder, "/game" by default).
//
// Under node (the headless tests): the host's folders named on the command line, and the current
// folder, are mounted at the same paths, so `node vellum.js --headless --game DIR --input FILE`
// reads and writes the host's files; VELLUM_WEB_FONTS names the host folder mounted as /fonts. Node has no DOM and no WebGL: a stand-in canvas whose WebGL2
// context accepts every call and draws nothing lets the engine run its whole start-up and story.

(function () {
  var inWorker = typeof importScripts === 'function';
  var inNode = typeof process === 'object' && typeof process.versions === 'object' &&
               typeof process.versions.node === 'string' && typeof window === 'undefined';
  if (inWorker) return;
  Module['preRun'] = Module['preRun'] || [];
  if (typeof Module['preRun'] === 'function') Module['preRun'] = [Module['preRun']];

  if (inNode) {
    installNodeStandIns();
    Module['preRun'].push(mountHostFolders);
    return;
  }

  Module['preRun'].push(function () {
    // The canvas is the one display; findDisplay and SDL both look for a driver name.
    ENV['SDL_VIDEODRIVER'] = 'emscripten';
    keepHandlersOfOtherWindows();
    mountStorage();
  });

  // SDL's browser back end gives every window the page's one canvas and registers the canvas's,
  // the document's and the page's event handlers for each; when any window goes it takes off every
  // handler of those events, the other windows' too. The engine's windows in a page are made and
  // closed nested (the game's window first and last, the GPU probe's hidden one at start-up in
  // between), so a removal takes off only the newest handler of that event on that target: the one
  // of the window that goes. Without this the mouse, the keyboard and the focus were dead once the
  // probe's window had gone.
  // Deleting a WebGL context likewise takes every handler off its canvas, which in a page is the one
  // canvas of all the engine's contexts (the start-up dialog's is deleted when the dialog closes):
  // the handlers there are the windows', and each window takes its own off when it goes.
  function keepHandlersOfOtherWindows() {
    if (typeof JSEvents !== 'object' || typeof JSEvents.registerOrRemoveHandler !== 'function') return;
    if (typeof GL === 'object' && typeof GL.deleteContext === 'function') {
      var deleteContext = GL.deleteContext;
      GL.deleteContext = function (contextHandle) {
        var removeAll = JSEvents.removeAllHandlersOnTarget;
        JSEvents.removeAllHandlersOnTarget = function () {};
        try {
          return deleteContext.call(GL, contextHandle);
        } finally {
          JSEvents.removeAllHandlersOnTarget = removeAll;
        }
      };
    }
    var registerOrRemove = JSEvents.registerOrRemoveHandler;
    JSEvents.registerOrRemoveHandler = function (eventHandler) {
      if (eventHandler.callbackfunc) return registerOrRemove.call(JSEvents, eventHandler);
      var handlers = JSEvents.eventHandlers;
      for (var i = handlers.length - 1; i >= 0; --i) {
        if (handlers[i].target === eventHandler.target && handlers[i].eventTypeString === eventHandler.eventTypeString) {
          JSEvents._removeHandler(i);
          return;
        }
      }
    };
  }

  function storageFolders() {
    var game = Module['vellumGameFolder'] || '/game';
    // The game's own save folder, and the home folder (the Documents folder saves may go to).
    return [game.replace(/\/+$/, '') + '/save', ENV['HOME'] || '/home/web_user'];
  }

  function mountStorage() {
    if (typeof indexedDB === 'undefined') return;
    storageFolders().forEach(function (folder) {
      FS.mkdirTree(folder);
      FS.mount(IDBFS, {}, folder);
    });
    addRunDependency('vellum-storage');
    FS.syncfs(true, function (error) {
      if (error) console.warn('vellum: the saved games could not be read from the browser storage: ' + error);
      removeRunDependency('vellum-storage');
    });
  }

  // One sync at a time; writes that land meanwhile are taken by one more sync after it.
  var syncing = false, again = false, whenStored = [];
  Module['vellumSyncStorage'] = function () {
    if (typeof indexedDB === 'undefined') return;
    if (syncing) {
      again = true;
      return;
    }
    syncing = true;
    FS.syncfs(false, function (error) {
      syncing = false;
      if (error) console.warn('vellum: the browser storage refused the saved games: ' + error);
      if (again) {
        again = false;
        Module['vellumSyncStorage']();
        return;
      }
      var waiting = whenStored;
      whenStored = [];
      waiting.forEach(function (callback) { callback(); });
    });
  };
  // Calls back once everything written so far is in the browser's storage.
  function afterStorageSynced(callback) {
    if (typeof indexedDB === 'undefined') return callback();
    whenStored.push(callback);
    Module['vellumSyncStorage']();
  }
  // The page hears of the end only once the saves are stored: a tab closed at once keeps them.
  var previousOnExit = Module['onExit'];
  Module['onExit'] = function (status) {
    afterStorageSynced(function () {
      if (previousOnExit) previousOnExit(status);
    });
  };

  function mountHostFolders() {
    var path = require('path'), fs = require('fs');
    var folders = [process.cwd()];
    process.argv.slice(2).forEach(function (arg) {
      if (!path.isAbsolute(arg)) return;
      try {
        var stat = fs.statSync(arg);
        folders.push(stat.isDirectory() ? arg : path.dirname(arg));
      } catch (e) {
        // An output path that does not exist yet: its folder, when that exists.
        try {
          if (fs.statSync(path.dirname(arg)).isDirectory()) folders.push(path.dirname(arg));
        } catch (e2) {}
      }
    });
    folders = folders.map(function (f) { return path.resolve(f); });
    folders.sort(function (a, b) { return a.length - b.length; });
    var mounted = [];
    folders.forEach(function (folder) {
      var inside = mounted.some(function (m) { return folder === m || folder.indexOf(m === '/' ? '/' : m + '/') === 0; });
      if (inside || folder === '/') return;
      FS.mkdirTree(folder);
      FS.mount(NODEFS, { root: folder }, folder);
      mounted.push(folder);
    });
    // The page ships its font in /fonts; under node, VELLUM_WEB_FONTS names a host folder for it.
    var fonts = process.env['VELLUM_WEB_FONTS'];
    if (fonts && fs.existsSync(fonts)) {
      FS.mkdirTree('/fonts');
      FS.mount(NODEFS, { root: path.resolve(fonts) }, '/fonts');
    }
    FS.chdir(process.cwd());
  }

  function installNodeStandIns() {
    function noop() {}
    var element = {
      style: {}, width: 640, height: 480, clientWidth: 640, clientHeight: 480,
      addEventListener: noop, removeEventListener: noop, dispatchEvent: noop, focus: noop, blur: noop,
      setAttribute: noop, getAttribute: function () { return null; }, appendChild: noop, removeChild: noop,
      getBoundingClientRect: function () {
        return { left: 0, top: 0, x: 0, y: 0, width: element.width, height: element.height,
                 right: element.width, bottom: element.height };
      },
      getContext: function (kind, attributes) {
        return /^webgl/.test(kind) ? standInWebGl(element, attributes) : null;
      },
      requestPointerLock: noop, requestFullscreen: noop,
    };
    globalThis.document = {
      querySelector: function () { return element; }, getElementById: function () { return element; },
      createElement: function () { return element; }, addEventListener: noop, removeEventListener: noop,
      body: element, documentElement: element, hidden: false, visibilityState: 'visible',
      fullscreenElement: null, pointerLockElement: null, title: '',
      exitFullscreen: noop, exitPointerLock: noop,
    };
    // The runtime tells WebGL 1 contexts from WebGL 2 ones by their class.
    if (typeof globalThis.WebGLRenderingContext === 'undefined') globalThis.WebGLRenderingContext = function () {};
    if (typeof globalThis.screen === 'undefined') globalThis.screen = { width: 1920, height: 1080, availWidth: 1920, availHeight: 1080 };
    Module['canvas'] = element;
    // SDL asks the window for its size. `window` is set only once the runtime has told node from
    // a browser (which it does by looking for `window`).
    Module['preRun'].push(function () {
      // The runtime sets the page title only in a browser; under node the title goes nowhere.
      setWindowTitle = noop;
      if (typeof globalThis.window === 'undefined') {
        globalThis.window = { innerWidth: 1920, innerHeight: 1080, devicePixelRatio: 1,
                              addEventListener: noop, removeEventListener: noop };
      }
    });
  }

  // A WebGL2 context that takes every call: objects are plain objects, queries answer "complete",
  // "compiled", "linked" and generous limits, and nothing is drawn or read back.
  function standInWebGl(canvas, attributes) {
    var strings = {
      0x1F00: 'Vellum', 0x1F01: 'no drawing (node)', 0x1F02: 'WebGL 2.0 (no drawing)',
      0x8B8C: 'WebGL GLSL ES 3.00 (no drawing)',
    };
    var answers = {
      getSupportedExtensions: function () { return []; },
      getExtension: function () { return null; },
      getContextAttributes: function () { return Object.assign({ alpha: true, depth: false, stencil: false, antialias: false }, attributes || {}); },
      isContextLost: function () { return false; },
      getError: function () { return 0; },
      checkFramebufferStatus: function () { return 0x8CD5; },
      getShaderParameter: function (s, name) { return name === 0x8B81 ? true : 0; },
      getProgramParameter: function (p, name) { return (name === 0x8B82 || name === 0x8B83) ? true : 0; },
      getShaderInfoLog: function () { return ''; },
      getProgramInfoLog: function () { return ''; },
      getShaderSource: function () { return ''; },
      getShaderPrecisionFormat: function () { return { rangeMin: 127, rangeMax: 127, precision: 23 }; },
      getParameter: function (name) { return name in strings ? strings[name] : 4096; },
      getUniformLocation: function () { return {}; },
      getAttribLocation: function () { return 0; },
      getFragDataLocation: function () { return 0; },
      getUniformBlockIndex: function () { return 0; },
      getInternalformatParameter: function () { return new Int32Array([4]); },
      fenceSync: function () { return {}; },
      clientWaitSync: function () { return 0x911A; },
      getSyncParameter: function () { return 0x9119; },
    };
    var target = { canvas: canvas };
    Object.defineProperty(target, 'drawingBufferWidth', { get: function () { return canvas.width; } });
    Object.defineProperty(target, 'drawingBufferHeight', { get: function () { return canvas.height; } });
    return new Proxy(target, {
      get: function (t, name) {
        if (name in t) return t[name];
        if (typeof name !== 'string' || name === 'then') return undefined;
        if (name in answers) return answers[name];
        if (/^create/.test(name)) return function () { return {}; };
        if (/^is/.test(name)) return function () { return true; };
        if (/^get/.test(name)) return function () { return 0; };
        return function () {};
      },
      set: function (t, name, value) { t[name] = value; return true; },
    });
  }
})();
